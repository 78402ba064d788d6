#!/usr/bin/env bash
# Takes a screenshot of the real window on a virtual display.
#   scripts/screenshot.sh [OUTPUT.png]    (default: tarnwick.png)
# Needs the build (scripts/setup.sh) and the packages xvfb, xauth, imagemagick.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$(realpath -m "${1:-tarnwick.png}")
program="${TANDREL_BUILD_DIR:-$root/build}/bin/tandrel"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    "$1" & pid=$!
    sleep 2
    import -window root "$2"
    kill $pid; wait $pid 2>/dev/null || true' _ "$program" "$out"
echo "$out"
