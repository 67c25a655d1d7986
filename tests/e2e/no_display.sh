#!/usr/bin/env bash
# Without any display the program says on stderr what failed and ends with exit code 1.
source "$(dirname "$0")/lib.sh"

mkdir -p "$WORK/home" "$WORK/tmp"
EXIT_CODE=0
(cd "$BUILD" && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER HOME="$WORK/home" TMPDIR="$WORK/tmp" \
   XDG_DATA_HOME= SDL_AUDIODRIVER=dummy timeout 60 "$HARVO" >"$WORK/harvo.log" 2>&1) || EXIT_CODE=$?
[ "$EXIT_CODE" = 1 ] || fail "exit code $EXIT_CODE"
grep -q "Could not open a window: neither DISPLAY nor WAYLAND_DISPLAY is set" "$WORK/harvo.log" ||
  fail "no reason on stderr"
grep -q "X11 or Wayland" "$WORK/harvo.log" || fail "no word of the display needed"
[ ! -f "$WORK/home/.local/share/Harvo/config.cfg" ] || fail "a configuration was written"
echo "ok"
