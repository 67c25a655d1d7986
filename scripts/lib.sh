# Shared by scripts/play and scripts/test: install what is missing, configure, build.
# Sourced, not run.

HARVO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
HARVO_BUILD="${HARVO_BUILD:-$HARVO_ROOT/build}"

HARVO_PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  zlib1g-dev libsdl2-dev libfreetype-dev fonts-liberation2 libvorbis-dev
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xdotool x11-utils imagemagick
  # The fonts SDL's message boxes need on a bare X server (the end-to-end tests).
  xfonts-base
)

# Each log line starts a phase; the phase before it ends there and its time is kept for
# harvo_phase_times.
HARVO_PHASES=()
HARVO_PHASE=""
HARVO_PHASE_START=0
harvo_phase_end() {
  [ -n "$HARVO_PHASE" ] && HARVO_PHASES+=("$(printf '%6d s  %s' $(( $(date +%s) - HARVO_PHASE_START )) "$HARVO_PHASE")")
  HARVO_PHASE=""
}
harvo_log() {
  harvo_phase_end
  HARVO_PHASE="$*"
  HARVO_PHASE_START="$(date +%s)"
  printf '\033[1m== %s\033[0m\n' "$*"
}
# The time of each phase so far, and of all of them.
harvo_phase_times() {
  harvo_phase_end
  [ ${#HARVO_PHASES[@]} -eq 0 ] && return 0
  printf '\033[1m== time of each phase\033[0m\n'
  printf '%s\n' "${HARVO_PHASES[@]}"
  printf '%6d s  in all\n' $(( $(date +%s) - HARVO_START ))
}
HARVO_START="$(date +%s)"

# Installs the Debian packages that are not there yet; does nothing when all are.
harvo_install_packages() {
  local missing=()
  for p in "${HARVO_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  harvo_log "installing ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Configures $1 once, with the extra CMake arguments that follow.
harvo_configure() {
  local dir="$1"
  shift
  if [ ! -f "$dir/build.ninja" ]; then
    harvo_log "configuring $dir"
    cmake -S "$HARVO_ROOT" -B "$dir" -G Ninja "$@"
  fi
}

# Configures (once) and builds everything into $1 with the extra CMake arguments that follow.
harvo_build() {
  harvo_configure "$@"
  harvo_log "building $1"
  cmake --build "$1" -j "$(nproc)"
}
