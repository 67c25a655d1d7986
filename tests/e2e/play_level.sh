#!/usr/bin/env bash
# "-Skip -Level Level1" plays the first demo level at once: after the settings window the
# program asks "Zwei Spieler?" and "Schiff Nummer?" (answered with Return: one player,
# ship 1), loads the level and shows it. A screenshot some seconds into the level is
# compared loosely with the reference picture beside this script: the game runs in real
# time, so the test asks only that the picture is not black and that the level's colours
# (the dusk sky, the rocks) are there in about the reference's amounts.
# With HARVO_E2E_SHOTS set to a folder the screenshot is kept there (a new reference).
source "$(dirname "$0")/lib.sh"
REFERENCE="$(dirname "$0")/reference/play_level.png"

# The program's message boxes: small windows without a name, as "id width x y" (a box
# that follows another may get the same id). Where the X server has no fonts for them,
# the program answers them itself with their default buttons (and says so on stderr).
message_box() {
  local w
  for w in $(xdotool search --onlyvisible --name '^$' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null || echo WIDTH=0)"
    [ "$WIDTH" -gt 0 ] && [ "$WIDTH" -lt 800 ] && { echo "$w $WIDTH $X $Y"; return 0; }
  done
  return 1
}

# Answers the question `text` with Return (its default button) and waits until its box
# has gone.
answer_question() {  # answer_question <text>
  local box
  for _ in $(seq 100); do
    if box="$(message_box)"; then
      sleep 0.2
      press "${box%% *}" Return
      for _ in $(seq 50); do
        [ "$(message_box || true)" != "$box" ] && return 0
        sleep 0.1
      done
      fail "the question \"$1\" was not answered"
    fi
    grep -qF "$1" "$WORK/harvo.log" 2>/dev/null && return 0  # answered on stderr
    kill -0 "$HARVO_PID" 2>/dev/null || fail "the program ended before \"$1\""
    sleep 0.1
  done
  fail "no question \"$1\""
}

# The share of the play area's pixels (the picture above the status panel, 550 of its 600
# rows) that fall into each of 512 colour boxes (8 levels per channel), as "box share"
# lines.
colour_boxes() {
  convert "$1" -resize 400x300\! -crop 400x275+0+0 +repage -resize 200x137\! -depth 8 txt:- | awk -F'[(),]' 'NR > 1 {
      box = int($3 / 32) * 64 + int($4 / 32) * 8 + int($5 / 32); n[box]++; all++ }
    END { for (b in n) printf "%d %.4f\n", b, n[b] / all }'
}

start_x
start_harvo -Skip -Level Level1
settings="$(wait_window '^HARVO V\.')"
sleep 0.3
press "$settings" Return
answer_question "Zwei Spieler?"
answer_question "Schiff Nummer?"
wait_window '^Harvo($| - )' >/dev/null

# The level has loaded once its radio texts are read; then it runs about 300 ticks (the
# first darts come in at tick 200).
for _ in $(seq 300); do
  debug_log 2>/dev/null | grep -aqx "Geladen" && break
  kill -0 "$HARVO_PID" 2>/dev/null || fail "the program ended while the level loaded"
  sleep 0.1
done
debug_log | grep -aqx "Geladen" || fail "the level did not load"
sleep 5
kill -0 "$HARVO_PID" 2>/dev/null || fail "the program ended during the level"
# The game loop logs the start of every level pass; the stand-in that shows nothing
# until the loop is built does not, and then there is nothing to look at yet.
if ! debug_log | grep -aqx -- "---Spielstart: Level1"; then
  kill -TERM "$HARVO_PID"
  wait_exit
  echo "SKIP: no level pass started (\"---Spielstart: Level1\"): the game loop does not play levels yet"
  exit 77
fi
import -window root "$WORK/level.png"

# The game's picture inside its window (full screen keeps its proportions: bars above and
# below on a 1280 x 1024 screen), at 400 x 300 like the reference.
window="$(game_window)" || fail "no game window"
eval "$(xdotool getwindowgeometry --shell "$window")"
h=$((WIDTH * 600 / 800))
[ "$h" -le "$HEIGHT" ] || h="$HEIGHT"
convert "$WORK/level.png" -crop "${WIDTH}x${h}+${X}+$((Y + (HEIGHT - h) / 2))" +repage -resize 400x300\! "$WORK/game.png"
if [ -n "${HARVO_E2E_SHOTS:-}" ]; then
  mkdir -p "$HARVO_E2E_SHOTS"
  cp "$WORK/game.png" "$HARVO_E2E_SHOTS/play_level.png"
fi

mean="$(convert "$WORK/game.png" -crop 400x275+0+0 -format '%[fx:int(1000*mean)]' info:)"
[ "$mean" -gt 60 ] || fail "the level is dark (mean $mean of 1000)"
# Every colour box that holds at least 3 % of the reference must hold at least a third
# of that share in the screenshot, and together the boxes must match at least half.
colour_boxes "$REFERENCE" >"$WORK/ref.txt"
colour_boxes "$WORK/game.png" >"$WORK/shot.txt"
verdict="$(colour_verdict "$WORK/ref.txt" "$WORK/shot.txt" 0.03)"
echo "colours in common with the reference: $verdict"
case "$verdict" in
  *missing*) fail "colours of the level are missing: $verdict" ;;
esac
[ "$(echo "$verdict" | awk '{ print ($1 >= 0.5) }')" = 1 ] || fail "the picture differs from the level's: $verdict"

# Closing the window ends the level and the program cleanly.
kill -TERM "$HARVO_PID"
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
[ "$(debug_log | tail -n 1)" = "Fine Ending!" ] || fail "the log does not end with \"Fine Ending!\""
echo "ok"
