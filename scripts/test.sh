#!/usr/bin/env bash
# Sets everything up (packages, build) and runs every test.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TANDREL_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"

export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j2
