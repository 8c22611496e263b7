#!/usr/bin/env bash
# Runs a command inside a scratch 32-bit Wine prefix (and, on request, a
# private X display), then ends every process it started. The Wine-tier
# tests go through here:
#
#   run_wine.sh [--display] [--keep] [--cache-dir DIR] -- COMMAND [ARG...]
#
# COMMAND is any host command; it sees WINEPREFIX, WINEARCH, WINEDEBUG,
# WINEDLLOVERRIDES and DISPLAY set for the scratch prefix, and OBX_WINE, the
# Wine loader to start Windows programs with ("$OBX_WINE" prog.exe), and
# OBX_WINE_WAIT, a command that waits until every program started in the
# prefix has ended (the server is kept running, so "wineserver -w" would
# wait for ever). The exit code is COMMAND's. Exit code 77 (a skip for CTest) when this machine
# cannot run 32-bit Wine at all, with the reason on one line.
#
# The prefix is a copy of a template made once by wineboot and cached in
# the cache folder (default: $OBX_WINE_CACHE_DIR, else ~/.cache/obx-wine),
# guarded by a lock so parallel tests make it only once.
set -euo pipefail

readonly skip_exit_code=77
here=$(cd "$(dirname "$0")" && pwd)
wine_loader=${OBX_WINE_LOADER:-/usr/lib/wine/wine}
wine_server=${OBX_WINESERVER:-wineserver}
screen=${OBX_XVFB_SCREEN:-1024x768x24}
readonly display_wait_tenths=100

usage() {
  echo "usage: run_wine.sh [--display] [--keep] [--cache-dir DIR] -- COMMAND [ARG...]" >&2
  exit 2
}

skip() {
  echo "SKIPPED: $*"
  exit "$skip_exit_code"
}

# --- Can this machine run 32-bit Wine at all? Checked before anything else.
check_wine_runs() {
  if [ ! -e "$wine_loader" ]; then
    skip "32-bit Wine is not installed ($wine_loader missing)"
  fi
  local output status=0
  output=$("$wine_loader" --version 2>&1) || status=$?
  if [ "$status" -ne 0 ]; then
    local reason
    reason=$(printf '%s\n' "$output" | tail -n 1)
    skip "this machine cannot execute 32-bit programs: $wine_loader --version failed with exit code $status (${reason##*: })"
  fi
}

# --- The environment every Wine command of a test runs in.
export_wine_environment() {
  export WINEARCH=win32
  export WINEDEBUG=-all
  # No Mono or Gecko installer prompts.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export OBX_WINE="$wine_loader"
  export OBX_WINE_WAIT="$here/wait_wine_programs.sh"
}

# Makes the template prefix once: wineboot, then no window manager control
# of windows (without a window manager every closing window costs seconds).
make_template() {
  local template=$1
  local building="$template.building.$$"
  rm -rf "$building"
  mkdir -p "$building"
  (
    unset DISPLAY
    WINEPREFIX="$building" "$wine_loader" wineboot -i >/dev/null 2>&1
    WINEPREFIX="$building" "$wine_loader" reg add 'HKCU\Software\Wine\X11 Driver' \
      /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    WINEPREFIX="$building" "$wine_server" -w
  ) || {
    WINEPREFIX="$building" "$wine_server" -k >/dev/null 2>&1 || true
    rm -rf "$building"
    echo "run_wine.sh: making the Wine prefix template failed" >&2
    return 1
  }
  mv "$building" "$template"
}

ensure_template() {
  local cache=$1
  local template="$cache/prefix-template"
  mkdir -p "$cache"
  (
    flock 9
    [ -d "$template" ] || make_template "$template"
  ) 9>"$cache/prefix-template.lock" || return 1
  printf '%s\n' "$template"
}

# --- Cleanup: the scratch prefix's wineserver (and every Wine process of
# that prefix with it), the display, the scratch folder.
scratch=""
xvfb_pid=""
keep=0
cleanup() {
  local status=$?
  if [ -n "$scratch" ] && [ -d "$scratch/prefix" ]; then
    WINEPREFIX="$scratch/prefix" "$wine_server" -k >/dev/null 2>&1 || true
    WINEPREFIX="$scratch/prefix" "$wine_server" -w >/dev/null 2>&1 || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  if [ -n "$scratch" ]; then
    if [ "$keep" -eq 1 ]; then
      echo "run_wine.sh: kept $scratch" >&2
    else
      rm -rf "$scratch"
    fi
  fi
  exit "$status"
}

# Starts Xvfb on a free display; Xvfb itself picks the number and tells it
# through -displayfd once it accepts connections.
start_display() {
  local number_file="$scratch/display"
  : >"$number_file"
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$number_file" \
    >"$scratch/xvfb.log" 2>&1 &
  xvfb_pid=$!
  local tenths=0
  while ! grep -q '^[0-9][0-9]*$' "$number_file"; do
    if ! kill -0 "$xvfb_pid" 2>/dev/null || [ "$tenths" -ge "$display_wait_tenths" ]; then
      echo "run_wine.sh: Xvfb did not start:" >&2
      cat "$scratch/xvfb.log" >&2
      return 1
    fi
    sleep 0.1
    tenths=$((tenths + 1))
  done
  local number
  number=$(head -n 1 "$number_file")
  export DISPLAY=":$number"
}

main() {
  local want_display=0
  local cache=${OBX_WINE_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/obx-wine}
  while [ $# -gt 0 ]; do
    case $1 in
      --display) want_display=1 ;;
      --keep) keep=1 ;;
      --cache-dir)
        [ $# -ge 2 ] || usage
        cache=$2
        shift
        ;;
      --) shift; break ;;
      *) usage ;;
    esac
    shift
  done
  [ $# -ge 1 ] || usage

  # Wine takes only absolute prefix paths.
  mkdir -p "$cache"
  cache=$(cd "$cache" && pwd)

  check_wine_runs
  if [ "$want_display" -eq 1 ] && ! command -v Xvfb >/dev/null; then
    skip "Xvfb is not installed, and this test needs a display"
  fi

  export_wine_environment
  local template
  template=$(ensure_template "$cache") || exit 1

  trap cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  scratch=$(mktemp -d "${TMPDIR:-/tmp}/obx-wine.XXXXXX")
  cp -a "$template" "$scratch/prefix"
  export WINEPREFIX="$scratch/prefix"
  export OBX_WINE_SCRATCH="$scratch"
  if [ "$want_display" -eq 1 ]; then
    start_display
  else
    unset DISPLAY
  fi

  # One persistent server and the prefix's own processes (services, the
  # desktop), started apart from COMMAND's output: started by the first
  # program, they would inherit its output and hold a reader such as a
  # pipe open for as long as they live.
  "$wine_server" -p </dev/null >/dev/null 2>&1
  "$wine_loader" cmd /c exit </dev/null >/dev/null 2>&1 || true

  local status=0
  "$@" || status=$?
  return "$status"
}

main "$@"
