#!/usr/bin/env bash
# Waits until every program started in the scratch prefix has ended, as
# "wineserver -w" would if the server were not kept running: only the
# prefix's own processes (services, devices, the desktop) may remain.
#
#   wait_wine_programs.sh [SECONDS]    (default 60; exit 1 on timeout)
set -euo pipefail

limit=${1:-60}
: "${WINEPREFIX:?run under run_wine.sh}"

# Wine names its processes by their Windows command line.
is_prefix_own() {
  case $1 in
    *'\services.exe'* | *'\winedevice.exe'* | *'\plugplay.exe'* | *'\svchost.exe'* | \
      *'\rpcss.exe'* | *'\explorer.exe /desktop'* | *wineserver*) return 0 ;;
  esac
  return 1
}

programs_left() {
  local dir exe cmdline
  for dir in /proc/[0-9]*; do
    # Host commands (this script, the caller) carry WINEPREFIX too.
    exe=$(readlink "$dir/exe" 2>/dev/null) || continue
    case $exe in */wine/wine*) ;; *) continue ;; esac
    grep -qsz "^WINEPREFIX=$WINEPREFIX\$" "$dir/environ" || continue
    # A zombie has no command line.
    cmdline=$(tr '\0' ' ' <"$dir/cmdline" 2>/dev/null) || continue
    [ -n "$cmdline" ] || continue
    is_prefix_own "$cmdline" || { echo "$cmdline"; return 0; }
  done
  return 1
}

while left=$(programs_left); do
  if [ "$SECONDS" -ge "$limit" ]; then
    echo "wait_wine_programs.sh: still running after $limit s: $left" >&2
    exit 1
  fi
  sleep 0.2
done
