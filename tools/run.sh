#!/usr/bin/env bash
# The main job: installs what is missing, builds both builds and lists the
# images that a user copies onto a Windows 95 machine.
set -euo pipefail
cd "$(dirname "$0")/.."

echo "[1/3] installing what is missing"
bash tools/bootstrap.sh
echo "[2/3] building the Windows 95 images and the host build"
bash tools/build.sh
echo "[3/3] what was built"
if compgen -G "dist/*" >/dev/null; then
  ls -l dist/
else
  echo "dist/ holds no shipped image yet; the win32 build made:"
fi
find build/win32 -maxdepth 3 \( -name '*.exe' -o -name '*.dll' -o -name '*.a' -o -name '*.res' \) \
  -printf '  %P (%s bytes)\n' | sort
