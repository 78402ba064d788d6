#!/usr/bin/env bash
# Takes a screenshot of the real window on a virtual display.
#   scripts/screenshot.sh [--about] [OUTPUT.png]    (default: tarnwick.png)
# With --about the About box is opened first (right click on the window,
# then its "About tandrel..." item).
# Needs the build (scripts/setup.sh) and the packages xvfb, xauth,
# imagemagick and, for --about, xdotool.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
about=0
if [ "${1:-}" = "--about" ]; then about=1; shift; fi
out=$(realpath -m "${1:-tarnwick.png}")
program="${TANDREL_BUILD_DIR:-$root/build}/bin/tandrel"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    "$1" & pid=$!
    sleep 2
    if [ "$3" = 1 ]; then
        win=$(xdotool search --name "Quillet Tarnwick v1.5" | head -n 1)
        eval "$(xdotool getwindowgeometry --shell "$win")"
        xdotool mousemove $((X + WIDTH - 20)) $((Y + HEIGHT - 80)) click 3
        sleep 0.5
        xdotool key Down Return
        sleep 1
    fi
    import -window root "$2"
    kill $pid; wait $pid 2>/dev/null || true' _ "$program" "$out" "$about"
echo "$out"
