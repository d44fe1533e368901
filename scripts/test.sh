#!/usr/bin/env bash
# Sets everything up, builds, and runs the whole test suite headless.
# With "asan" as argument, builds and runs it under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
./scripts/build.sh "$preset"
export QT_QPA_PLATFORM=offscreen
ctest --preset "$preset" -j"$(nproc)"
