#!/usr/bin/env bash
# Runs every test: installs what is missing, builds both builds, runs the
# unit, image and Wine tiers, then the unit tier again under AddressSanitizer
# and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/bootstrap.sh
bash tools/build.sh host-asan

echo "== unit, image and Wine tiers"
ctest --preset host
echo "== unit tier under AddressSanitizer and UndefinedBehaviorSanitizer"
ctest --preset host-asan
