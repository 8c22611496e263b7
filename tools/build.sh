#!/usr/bin/env bash
# Configures and builds both builds: the shipped Windows 95 images (win32)
# and the host build with its tests. Extra presets may be named, e.g.
# host-asan.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc 2>/dev/null || echo 2)
for preset in win32 host "$@"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" | grep -vE '^\[ *[0-9]+%\]' || true
  # grep hides progress lines only; a failed build must still stop us.
  [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "build: preset $preset failed" >&2; exit 1; }
done
