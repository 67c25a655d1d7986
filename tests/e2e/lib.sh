# Helpers of the end-to-end tests: a private X server, a private HOME, the program.
# Sourced by the test scripts; arguments of a script: the program, the build folder.

set -euo pipefail
HARVO="$1"
BUILD="$2"
WORK="$(mktemp -d)"
XVFB_PID=""
HARVO_PID=""

e2e_cleanup() {
  [ -n "$HARVO_PID" ] && kill "$HARVO_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -f "$WORK/home/.local/share/Harvo/Debug.txt" ] && { echo "--- Debug.txt"; cat "$WORK/home/.local/share/Harvo/Debug.txt"; } >&2
  [ -f "$WORK/harvo.log" ] && { echo "--- output"; cat "$WORK/harvo.log"; } >&2
  exit 1
}

# Starts Xvfb on a display number it picks itself (no race with other X servers).
start_x() {
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    if [ -s "$WORK/display" ]; then
      export DISPLAY=":$(tr -d '[:space:]' <"$WORK/display")"
      xdpyinfo >/dev/null 2>&1 && return 0
    fi
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  fail "no X server could be started"
}

# Starts the program with a private HOME and temporary folder.
start_harvo() {
  mkdir -p "$WORK/home" "$WORK/tmp"
  (cd "$BUILD" && HOME="$WORK/home" TMPDIR="$WORK/tmp" XDG_DATA_HOME= SDL_AUDIODRIVER=dummy \
     exec "$HARVO" "$@" >"$WORK/harvo.log" 2>&1) &
  HARVO_PID=$!
}

# The id of the first visible window whose name matches, waiting up to 20 s.
wait_window() {
  local w=""
  for _ in $(seq 200); do
    w="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)"
    [ -n "$w" ] && { echo "$w"; return 0; }
    kill -0 "$HARVO_PID" 2>/dev/null || fail "the program ended before its window \"$1\" showed"
    sleep 0.1
  done
  fail "no window \"$1\""
}

# Holds a key long enough for a frame's poll to see it.
press() {
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  xdotool keydown "$2"
  sleep 0.15
  xdotool keyup "$2"
}

# Waits up to 20 s for the program to end; its exit code goes to EXIT_CODE.
wait_exit() {
  for _ in $(seq 200); do
    if ! kill -0 "$HARVO_PID" 2>/dev/null; then
      EXIT_CODE=0
      wait "$HARVO_PID" || EXIT_CODE=$?
      HARVO_PID=""
      return 0
    fi
    sleep 0.1
  done
  fail "the program did not end"
}

# Starts X and the program, confirms the settings window with Return and waits for the
# game window; its id goes to GAME_WINDOW.
start_game() {
  start_x
  start_harvo "$@"
  local settings
  settings="$(wait_window '^HARVO V\.')"
  sleep 0.3
  press "$settings" Return
  GAME_WINDOW="$(wait_window '^Harvo($| - )')"
}

debug_log() { cat "$WORK/home/.local/share/Harvo/Debug.txt" | tr -d '\r'; }

# Waits until the menu runs: its last picture is loaded, the start-up videos and logos
# have played (the intro video, the last of them, has ended), and the first frames (the
# fade-in from the bare hangar, the column gliding in) have had the seconds given.
wait_menu() {
  for _ in $(seq 600); do
    if debug_log 2>/dev/null | grep -aqi "Menu_Logo.bmp start" &&
       debug_log 2>/dev/null | awk '/^Video: Render \(/ { r = $0 } /^Video: / { l = $0 } END { print r " | " l }' |
         grep -aqi "intro.* | Video: Fine$"; then
      sleep "$1"
      return 0
    fi
    kill -0 "$HARVO_PID" 2>/dev/null || fail "the program ended while the menu loaded"
    sleep 0.1
  done
  fail "the menu did not start"
}

# The largest visible game window (in full screen the one that fills the screen).
game_window() {
  local w best="" area=0
  for w in $(xdotool search --onlyvisible --name '^Harvo($| - )' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null || echo WIDTH=0 HEIGHT=0)"
    [ $((WIDTH * HEIGHT)) -gt "$area" ] && { best="$w"; area=$((WIDTH * HEIGHT)); }
  done
  [ -n "$best" ] && echo "$best"
}

# Compares two lists of "box share" lines (the reference's, the screenshot's): every box
# that holds at least the least share of the reference must hold at least a third of it in
# the screenshot. Prints the share the two have in common, then " missing:" and the
# boxes that fell short, if any.
colour_verdict() {  # colour_verdict <reference boxes> <screenshot boxes> <least share>
  awk -v least="$3" 'NR == FNR { ref[$1] = $2; next } { shot[$1] = $2 }
    END {
      for (b in ref) {
        s = (b in shot) ? shot[b] : 0
        common += (s < ref[b]) ? s : ref[b]
        if (ref[b] >= least && s < ref[b] / 3) missing = missing " " b
      }
      printf "%.3f%s\n", common, missing ? " missing:" missing : "" }' "$1" "$2"
}
