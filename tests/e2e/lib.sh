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

# --- Helpers of the long runs through the whole game ------------------------------------

# How many lines of the debug log match the extended pattern.
log_count() { debug_log 2>/dev/null | grep -acE -- "$1" || true; }

# While a video plays (its "Video: Playing" logged, its "Video: Fine" not yet), the pause
# key skips it; each video is skipped once.
VIDEOS_SKIPPED=0
skip_video() {
  local playing fine
  playing="$(log_count '^Video: Playing$')"
  fine="$(log_count '^Video: Fine$')"
  if [ "$playing" -gt "$VIDEOS_SKIPPED" ] && [ "$fine" -lt "$playing" ]; then
    VIDEOS_SKIPPED="$playing"
    press "$GAME_WINDOW" Escape
  fi
}

# Waits up to `seconds` until the debug log holds at least `count` lines matching the
# extended pattern, skipping the videos that play meanwhile.
wait_log() {  # wait_log <pattern> <count> <seconds> <what>
  local i
  for i in $(seq $(($3 * 10))); do
    [ "$(log_count "$1")" -ge "$2" ] && return 0
    kill -0 "$HARVO_PID" 2>/dev/null || fail "the program ended while waiting for $4"
    skip_video
    sleep 0.1
  done
  fail "no $4 (\"$1\" x $2) within $3 s"
}

# The game's picture inside its window (full screen keeps its proportions: bars above and
# below), scaled to 400 x 300.
game_picture() {  # game_picture <png>
  local window
  import -window root "$WORK/root.png"
  window="$(game_window)" || fail "no game window"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  local h=$((WIDTH * 600 / 800))
  [ "$h" -le "$HEIGHT" ] || h="$HEIGHT"
  convert "$WORK/root.png" -crop "${WIDTH}x${h}+${X}+$((Y + (HEIGHT - h) / 2))" +repage -resize 400x300\! "$1"
}

# The share of a picture's pixels in each of 512 colour boxes (8 levels per channel),
# as "box share" lines, from a 200 x 150 copy.
picture_boxes() {
  convert "$1" -resize 200x150\! -depth 8 txt:- | awk -F'[(),]' 'NR > 1 {
      box = int($3 / 32) * 64 + int($4 / 32) * 8 + int($5 / 32); n[box]++; all++ }
    END { for (b in n) printf "%d %.4f\n", b, n[b] / all }'
}

# Compares the game's picture loosely with reference/<name>.png: every colour box holding
# 5 % of the reference must hold a third of that, and the two must share `common` of
# their colours. With HARVO_E2E_SHOTS set to a folder the picture is kept there (a new
# reference). Returns 1 on a mismatch, with the verdict in VERDICT.
VERDICT=""
like_reference() {  # like_reference <name> <common>
  local reference
  reference="$(dirname "${BASH_SOURCE[0]}")/reference/$1.png"
  game_picture "$WORK/$1.png"
  if [ -n "${HARVO_E2E_SHOTS:-}" ]; then
    mkdir -p "$HARVO_E2E_SHOTS"
    cp "$WORK/$1.png" "$HARVO_E2E_SHOTS/$1.png"
  fi
  [ -f "$reference" ] || { VERDICT="no reference"; [ -n "${HARVO_E2E_SHOTS:-}" ]; return; }
  picture_boxes "$reference" >"$WORK/ref.txt"
  picture_boxes "$WORK/$1.png" >"$WORK/shot.txt"
  VERDICT="$(colour_verdict "$WORK/ref.txt" "$WORK/shot.txt" 0.05)"
  case "$VERDICT" in
    *missing*) return 1 ;;
  esac
  [ "$(echo "$VERDICT" | awk -v c="$2" '{ print ($1 >= c) }')" = 1 ]
}

# Waits up to `seconds` until the game's picture is loosely like reference/<name>.png.
wait_picture() {  # wait_picture <name> <common> <seconds>
  local i
  for i in $(seq $(($3 * 2))); do
    kill -0 "$HARVO_PID" 2>/dev/null || fail "the program ended while waiting for the picture $1"
    skip_video
    like_reference "$1" "$2" && return 0
    sleep 0.5
  done
  fail "the picture $1 did not show (colours in common: $VERDICT)"
}
