#!/usr/bin/env bash
# The whole game once through, as a player would: the settings window, the start-up
# videos and logos (the videos skipped with the pause key while they play), a new game
# for one player in the V-Phyton, the first level with one pause, its save screen (slot
# 3), the second level left through the pause screen's Exit, the score page, the saved
# game loaded again, the second level to its end, the ending, the menu's Exit.
#
# The stages are found in the debug log ("-Debug") and, where the game logs nothing (the
# menu pages, the save screen), by the picture: each stage's picture is compared loosely
# with its reference in reference/acceptance_*.png (HARVO_E2E_SHOTS=<folder> keeps the new
# pictures). "-Tick 4500" starts every level 300 ticks before its end, so the levels are
# short and the ship, left alone, lives through them.
source "$(dirname "$0")/lib.sh"
DATA="$WORK/home/.local/share/Harvo"
SAVE="$DATA/save"

# Presses each key in turn, a little apart, so that every press is a frame's new press.
keys() {
  local k
  for k in "$@"; do
    press "$GAME_WINDOW" "$k"
    sleep 0.2
  done
}

# Waits for the `count`th start of a level pass of `level`; a loading picture waits for a
# key once the level is loaded, which is given to it.
wait_level() {  # wait_level <level> <count>
  local i
  for i in $(seq 300); do
    [ "$(log_count "^---Spielstart: $1\$")" -ge "$2" ] && return 0
    kill -0 "$HARVO_PID" 2>/dev/null || fail "the program ended while $1 loaded"
    skip_video
    if [ $((i % 10)) = 0 ] && [ "$(log_count '^Geladen$')" -gt "$(log_count '^---Spielstart: ')" ]; then
      press "$GAME_WINDOW" space
    fi
    sleep 0.1
  done
  fail "level $1 did not start (pass $2)"
}

# Compares the picture of a stage with its reference.
stage_picture() {  # stage_picture <name> <common>
  like_reference "acceptance_$1" "$2" || fail "the picture of \"$1\" differs from its reference ($VERDICT)"
}

# The menu after its start-up and after a game: its column in place.
wait_menu_shown() { wait_picture acceptance_menu 0.5 60; }

start_game -Debug -Tick 4500

# The start-up: logo video, logos, intro; then the main menu.
wait_log 'LoadSurface .*Menu_Logo\.bmp start' 1 60 "the menu's pictures"
wait_menu_shown
sleep 1
stage_picture menu 0.5

# New, 1 player, V-Phyton, a name.
keys Return Return
sleep 0.8
keys Down Return
sleep 0.8
xdotool type --delay 120 "Ace"
sleep 0.5
stage_picture name 0.5
keys Return

# Level 1, paused once.
wait_level Level1 1
sleep 2
keys Escape
wait_log 'Pause\.vkpdir.Pausescreen\.bmp start' 1 20 "the pause screen"
sleep 1
stage_picture pause 0.4
keys Return

# Its end: the save screen, slot 3.
sleep 1
stage_picture level1 0.3
wait_picture acceptance_save 0.5 40
keys Down Down Down Return
for _ in $(seq 50); do
  [ -f "$SAVE/3.sav" ] && break
  sleep 0.1
done
[ -f "$SAVE/3.sav" ] || fail "slot 3 was not saved"

# Level 2 (after the video between), paused, left through Exit.
wait_level Level2 1
sleep 2
stage_picture level2 0.3
keys Escape
wait_log 'Pause\.vkpdir.Pausescreen\.bmp start' 2 20 "the second pause screen"
sleep 1
keys Down Return

# The menu again; the score page.
wait_log 'LoadSurface .*Menu_Logo\.bmp start' 2 30 "the menu after the exit"
wait_menu_shown
keys Down Down Down Return
sleep 2
stage_picture score 0.5
keys Return
sleep 1

# Load slot 3 (the main page is back on its score entry, two below the load entry): the
# load page opens on its back line; slot 3 is the one line above it that can be chosen.
wait_menu_shown
keys Up Up Return
sleep 2
stage_picture load 0.5
keys Up Return

# Level 2 to its end; its save screen left without saving; the ending; the menu.
wait_level Level2 2
wait_picture acceptance_save 0.5 40
standard="$(log_count '^Entpacke Standart\.vkp')"
keys Escape
# The ending: its video, the standard pictures loaded for the credits, the credits; then
# the standard and menu pictures for the menu. Credits that still run two seconds after
# their pictures were loaded are skipped with the pause key.
since=0
for _ in $(seq 1200); do
  [ "$(log_count 'LoadSurface .*Menu_Logo\.bmp start')" -ge 3 ] && break
  kill -0 "$HARVO_PID" 2>/dev/null || fail "the program ended during the ending"
  skip_video
  if [ "$(log_count '^Entpacke Standart\.vkp')" = $((standard + 1)) ]; then
    since=$((since + 1))
    [ "$since" = 20 ] && press "$GAME_WINDOW" Escape
  fi
  sleep 0.1
done
wait_log 'LoadSurface .*Menu_Logo\.bmp start' 3 1 "the menu after the ending"
wait_menu_shown
sleep 1
stage_picture end 0.5

# Exit.
keys Up Return
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"

# What the run leaves behind.
[ "$(debug_log | tail -n 1)" = "Fine Ending!" ] || fail "the log does not end with \"Fine Ending!\""
[ -s "$DATA/config.cfg" ] || fail "no config.cfg"
[ -s "$DATA/Highscore.dat" ] || fail "no Highscore.dat"
debug_log | grep -aq 'Highscore.dat' && fail "the high-score table was not read back or written cleanly"
# The label of slot 3 (after the version, its length and its bytes): one player, the
# second ship, the first play-through, the level (its first letter: the name holds no
# "-"), the date.
length="$(od -An -tu4 -j4 -N4 "$SAVE/3.sav" | tr -d ' ')"
label="$(dd if="$SAVE/3.sav" bs=1 skip=8 count="$length" 2>/dev/null)"
echo "label of slot 3: $label"
[[ "$label" =~ ^P1S2A\ -\ L\ \ [0-9]{2}-[0-9]{2}-[0-9]{4}$ ]] || fail "the label of 3.sav is \"$label\""
echo "ok"
