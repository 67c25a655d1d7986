#!/usr/bin/env bash
# SIGTERM (a desktop logging out) while the menu runs closes the game window: the program
# goes through its shut-down, writes its configuration and ends cleanly.
source "$(dirname "$0")/lib.sh"

start_game
sleep 0.5
kill -TERM "$HARVO_PID"
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
[ -f "$WORK/home/.local/share/Harvo/config.cfg" ] || fail "no configuration written"
[ "$(debug_log | tail -n 1)" = "Fine Ending!" ] || fail "the log does not end with \"Fine Ending!\""
echo "ok"
