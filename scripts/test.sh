#!/usr/bin/env bash
# Sets everything up (packages, build) and runs every test.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TANDREL_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"

export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j2

# The runner's tests once more under ThreadSanitizer.
tsan=${TANDREL_TSAN_BUILD_DIR:-$root/build-tsan}
cmake -S "$root" -B "$tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTANDREL_SANITIZE=thread \
      -DTANDREL_BENCH=OFF >/dev/null
cmake --build "$tsan" -j"$(nproc)" --target runner_tests fake_encoder
cd "$tsan"
TSAN_OPTIONS="halt_on_error=1 ${TSAN_OPTIONS:-}" ctest --output-on-failure -j2 -R 'Runner|EncoderEvents'
