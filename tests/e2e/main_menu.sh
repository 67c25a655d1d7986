#!/usr/bin/env bash
# The main menu on screen: once the menu's pictures are loaded and the menu has faded in,
# a screenshot of the button column is compared loosely with the reference picture beside
# this script (the light plates of the buttons and their dark texts; the hangar behind
# them is drawn at random from two, so its colours are not asked for). Then the exit entry
# leaves the program, which ends cleanly. With HARVO_E2E_SHOTS set to a folder the
# screenshot is kept there (a new reference).
source "$(dirname "$0")/lib.sh"
REFERENCE="$(dirname "$0")/reference/main_menu.png"

# The share of the pixels that fall into each of 512 colour boxes (8 levels per channel),
# as "box share" lines.
colour_boxes() {
  convert "$1" -depth 8 txt:- | awk -F'[(),]' 'NR > 1 {
      box = int($3 / 32) * 64 + int($4 / 32) * 8 + int($5 / 32); n[box]++; all++ }
    END { for (b in n) printf "%d %.4f\n", b, n[b] / all }'
}

# The game's picture inside its window at 800 x 600 into "$WORK/game.png", and the
# entries' buttons from it into "$WORK/column.png": the inner part of each of the five
# plates (they stand at x 291, 67 pixels apart from y 248, and the selected one slides out
# by 30), stacked, without the hangar between them.
screenshot() {
  import -window root "$WORK/menu.png"
  window="$(game_window)" || fail "no game window"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  h=$((WIDTH * 600 / 800))
  [ "$h" -le "$HEIGHT" ] || h="$HEIGHT"
  convert "$WORK/menu.png" -crop "${WIDTH}x${h}+${X}+$((Y + (HEIGHT - h) / 2))" +repage -resize 800x600\! "$WORK/game.png"
  local plates=()
  for e in 0 1 2 3 4; do plates+=(\( mpr:game -crop "190x36+340+$((254 + 67 * e))" +repage \)); done
  convert "$WORK/game.png" -write mpr:game +delete "${plates[@]}" -append "$WORK/column.png"
}

# Every colour box that holds at least 10 % of the reference (the plates' grey) must hold at
# least a third of that share in the screenshot, and together the boxes must match at
# least half. Prints the verdict; true when it holds.
column_matches() {
  colour_boxes "$WORK/column.png" >"$WORK/shot.txt"
  verdict="$(colour_verdict "$WORK/ref.txt" "$WORK/shot.txt" 0.10)"
  case "$verdict" in
    *missing*) return 1 ;;
  esac
  [ "$(echo "$verdict" | awk '{ print ($1 >= 0.5) }')" = 1 ]
}

colour_boxes "$REFERENCE" >"$WORK/ref.txt"
start_game
# The fade-in from the bare hangar takes 20 frames, the column's glide about 40; on a
# busy machine the frames come slower, so the column is looked at until it has arrived
# (at most 30 s), and taken once it has come to rest.
wait_menu 1
for _ in $(seq 60); do
  kill -0 "$HARVO_PID" 2>/dev/null || fail "the program ended in the menu"
  screenshot
  column_matches && break
  sleep 0.5
done
# Once it is there, a second later it has come to rest.
sleep 1
screenshot
echo "colours in common with the reference: $verdict"
if [ -n "${HARVO_E2E_SHOTS:-}" ]; then
  mkdir -p "$HARVO_E2E_SHOTS"
  cp "$WORK/column.png" "$HARVO_E2E_SHOTS/main_menu.png"
  cp "$WORK/game.png" "$HARVO_E2E_SHOTS/main_menu_full.png"
fi
column_matches || fail "the column's colours differ from the reference: $verdict"
mean="$(convert "$WORK/game.png" -format '%[fx:int(1000*mean)]' info:)"
[ "$mean" -gt 80 ] || fail "the menu is dark (mean $mean of 1000)"
# The entries' texts: dark letters on the plates.
dark="$(convert "$WORK/column.png" -colorspace Gray -threshold 25% -negate -format '%[fx:int(1000*mean)]' info:)"
[ "$dark" -gt 30 ] || fail "no text on the buttons (dark share $dark of 1000)"

# The exit entry leaves the program: up from the first entry wraps to it (the pause key
# does the same; quit_from_menu.sh presses it).
press "$window" Up
sleep 0.3
press "$window" Return
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
[ "$(debug_log | tail -n 1)" = "Fine Ending!" ] || fail "the log does not end with \"Fine Ending!\""
echo "ok"
