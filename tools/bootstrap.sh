#!/usr/bin/env bash
# Installs the packages the build and the tests need, and nothing else.
# Quiet and quick when everything is already there; never asks a question.
set -euo pipefail

packages=(
  cmake g++ make googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  wine wine32:i386
  xvfb xauth imagemagick python3
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "bootstrap: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq </dev/null
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null >/dev/null
echo "bootstrap: done"
