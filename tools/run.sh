#!/usr/bin/env bash
# The main job: installs what is missing, builds both builds, then shows the
# whole system working in a scratch Wine prefix (the page in the Display
# sheet, DrvSwitch, DrvRestore), with screenshots under dist/screens/.
#
#   run.sh [--interactive]
#
# --interactive: DrvRestore's dialog and questions appear on your display
# for you to answer (needs DISPLAY); otherwise they are answered for you.
set -euo pipefail
cd "$(dirname "$0")/.."

interactive=()
case ${1:-} in
  "") ;;
  --interactive)
    if [ -z "${DISPLAY:-}" ]; then
      echo "run: --interactive needs a display (DISPLAY is not set)" >&2
      exit 2
    fi
    interactive=(--interactive)
    ;;
  *)
    echo "usage: run.sh [--interactive]" >&2
    exit 2
    ;;
esac

failed() {
  echo "run: step $1/7 failed: $2" >&2
  exit 1
}

echo "[1/7] Installing what is missing (Debian packages, 32-bit Wine)"
bash tools/bootstrap.sh || failed 1 "the packages could not be installed (see above)"

echo
echo "[2/7] Building the Windows 95 images and the host build"
bash tools/build.sh || failed 2 "the build failed (see above)"

# The demo answers the dialogs on a private display; the user's own display
# is kept for --interactive.
status=0
OBX_USER_DISPLAY="${DISPLAY:-}" bash tests/wine/run_wine.sh --display \
  --cache-dir build/host/wine-cache -- \
  python3 tools/demo/demo.py dist build/win32/tests/wine "$PWD/dist/screens" \
  "${interactive[@]}" || status=$?
case $status in
  0) ;;
  77) failed 3 "this machine cannot run the demo in 32-bit Wine (reason above); the Windows 95 files are built all the same, in dist/" ;;
  *) exit "$status" ;;
esac
