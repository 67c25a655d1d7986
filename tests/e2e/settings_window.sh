#!/usr/bin/env bash
# The settings window opens first and grows from its centre into its rounded shape;
# Escape in it ends the program without saving anything.
# With HARVO_E2E_SHOTS set to a folder the two screenshots are kept there.
source "$(dirname "$0")/lib.sh"

# The colour of one pixel of a picture, as "r,g,b".
pixel() {
  convert "$1" -crop "1x1+$2+$3" -format '%[fx:int(255*r+0.5)],%[fx:int(255*g+0.5)],%[fx:int(255*b+0.5)]' info:
}

start_x
start_harvo
settings=""
for _ in $(seq 1000); do
  settings="$(xdotool search --onlyvisible --name '^HARVO V\.[0-9]+\.[0-9]+\.[0-9]+$' 2>/dev/null | head -n 1 || true)"
  [ -n "$settings" ] && break
  kill -0 "$HARVO_PID" 2>/dev/null || fail "the program ended before the settings window showed"
  sleep 0.02
done
[ -n "$settings" ] || fail "no settings window"
sleep 0.4
import -window root "$WORK/early.png"
sleep 0.8
import -window root "$WORK/late.png"
eval "$(xdotool getwindowgeometry --shell "$settings")"
[ "$WIDTH" = 420 ] && [ "$HEIGHT" = 320 ] || fail "the settings window is ${WIDTH}x${HEIGHT}"
if [ -n "${HARVO_E2E_SHOTS:-}" ]; then
  mkdir -p "$HARVO_E2E_SHOTS"
  cp "$WORK/early.png" "$WORK/late.png" "$HARVO_E2E_SHOTS/"
fi

for shot in early late; do
  [ "$(identify -format '%wx%h' "$WORK/$shot.png")" = 1280x1024 ] || fail "$shot screenshot has the wrong size"
  mean="$(convert "$WORK/$shot.png" -crop "${WIDTH}x${HEIGHT}+$X+$Y" -format '%[fx:int(1000*mean)]' info:)"
  [ "$mean" -gt 20 ] || fail "the settings window is black in the $shot screenshot ($mean)"
  [ "$(pixel "$WORK/$shot.png" $((X + WIDTH / 2)) $((Y + HEIGHT / 2)))" != 0,0,0 ] || fail "no centre in the $shot screenshot"
done
# Growing, the window does not reach its left edge yet; grown, it does (the options'
# green top line), while its corners stay cut off.
[ "$(pixel "$WORK/early.png" $((X + 2)) $((Y + HEIGHT / 2)))" = 0,0,0 ] || fail "the window is whole at 0.4 s"
[ "$(pixel "$WORK/late.png" $((X + 2)) $((Y + HEIGHT / 2)))" != 0,0,0 ] || fail "the window is not whole at 1.2 s"
[ "$(pixel "$WORK/late.png" "$X" "$Y")" = 0,0,0 ] || fail "the corner is not rounded at 1.2 s"

press "$settings" Escape
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
[ ! -e "$WORK/home/.local/share/Harvo/config.cfg" ] || fail "Cancel wrote the configuration"
[ ! -e "$WORK/home/.local/share/Harvo/Debug.txt" ] || fail "Cancel started the program run"
echo "ok"
