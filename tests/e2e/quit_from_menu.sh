#!/usr/bin/env bash
# The program starts under X, Return in the settings window opens the game window, and
# Escape in the menu ends the program cleanly, its temporary folder removed.
source "$(dirname "$0")/lib.sh"

start_game
wait_menu 0.3
press "$GAME_WINDOW" Escape
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
log="$(debug_log)"
echo "$log" | grep -qx "Create Window" || fail "no \"Create Window\" line"
echo "$log" | grep -qx "Colordepth: 32" || fail "no colour depth line"
[ "$(echo "$log" | tail -n 1)" = "Fine Ending!" ] || fail "the log does not end with \"Fine Ending!\""
[ -d "$WORK/home/.local/share/Harvo/save" ] || fail "no save folder"
left="$(find "$WORK/tmp" -mindepth 2 -maxdepth 2 -name 'copy-*')"
[ -z "$left" ] || fail "its temporary folder is left: $left"
echo "ok"
