#!/usr/bin/env bash
# Installs what Tarnwick needs on Debian 12 (when missing), then configures
# and builds it. Used by scripts/run.sh and scripts/test.sh; it can be run on
# its own too. The build goes to $TANDREL_BUILD_DIR (default: build/).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TANDREL_BUILD_DIR:-$root/build}

packages=(cmake make g++ qt6-base-dev libgl-dev ffmpeg fonts-dejavu-core xdg-utils
          libgtest-dev libgmock-dev)
missing=()
for p in "${packages[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo=sudo; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"
