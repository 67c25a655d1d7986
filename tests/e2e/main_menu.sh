#!/usr/bin/env bash
# The main menu on screen: once the menu's pictures are loaded and the menu has faded in,
# a screenshot of the button column is compared loosely with the reference picture beside
# this script (the light plates of the buttons and their dark texts; the hangar behind
# them is drawn at random from two, so its colours are not asked for). Then the pause key
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

start_game
# The fade-in from the bare hangar takes 20 frames, the column's glide about 40.
wait_menu 2
kill -0 "$HARVO_PID" 2>/dev/null || fail "the program ended in the menu"
import -window root "$WORK/menu.png"

# The game's picture inside its window at 800 x 600, then the entries' buttons: x 300 to
# 520 (the buttons stand at 291 and slide out by up to 30), y 248 to 583.
window="$(game_window)" || fail "no game window"
eval "$(xdotool getwindowgeometry --shell "$window")"
h=$((WIDTH * 600 / 800))
[ "$h" -le "$HEIGHT" ] || h="$HEIGHT"
convert "$WORK/menu.png" -crop "${WIDTH}x${h}+${X}+$((Y + (HEIGHT - h) / 2))" +repage -resize 800x600\! "$WORK/game.png"
convert "$WORK/game.png" -crop 220x335+300+248 +repage "$WORK/column.png"
if [ -n "${HARVO_E2E_SHOTS:-}" ]; then
  mkdir -p "$HARVO_E2E_SHOTS"
  cp "$WORK/column.png" "$HARVO_E2E_SHOTS/main_menu.png"
  cp "$WORK/game.png" "$HARVO_E2E_SHOTS/main_menu_full.png"
fi

mean="$(convert "$WORK/game.png" -format '%[fx:int(1000*mean)]' info:)"
[ "$mean" -gt 80 ] || fail "the menu is dark (mean $mean of 1000)"
# Every colour box that holds at least 10 % of the reference (the plates) must hold at
# least a third of that share in the screenshot, and together the boxes must match at
# least half.
colour_boxes "$REFERENCE" >"$WORK/ref.txt"
colour_boxes "$WORK/column.png" >"$WORK/shot.txt"
verdict="$(colour_verdict "$WORK/ref.txt" "$WORK/shot.txt" 0.10)"
echo "colours in common with the reference: $verdict"
case "$verdict" in
  *missing*) fail "the column's colours are missing: $verdict" ;;
esac
[ "$(echo "$verdict" | awk '{ print ($1 >= 0.5) }')" = 1 ] || fail "the column differs from the reference: $verdict"
# The entries' texts: dark letters on the plates.
dark="$(convert "$WORK/column.png" -colorspace Gray -threshold 25% -negate -format '%[fx:int(1000*mean)]' info:)"
[ "$dark" -gt 30 ] || fail "no text on the buttons (dark share $dark of 1000)"

# The pause key leaves the program from the main page.
press "$window" Escape
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
[ "$(debug_log | tail -n 1)" = "Fine Ending!" ] || fail "the log does not end with \"Fine Ending!\""
echo "ok"
