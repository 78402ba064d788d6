#!/usr/bin/env bash
# Sets everything up (packages, build) and starts the converter.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    cat >&2 <<'MSG'
No display found: Tarnwick is a desktop program and needs a graphical session.
  - Run this command from a terminal inside your desktop, or
  - set DISPLAY (X11) or WAYLAND_DISPLAY to your display, or
  - on a machine without a screen, run it on a virtual display:
        sudo apt-get install xvfb && xvfb-run -a scripts/run.sh
MSG
    exit 1
fi
exec "${TANDREL_BUILD_DIR:-$root/build}/bin/tandrel" "$@"
