#!/usr/bin/env bash
# Sets everything up, builds, and starts the editor; an optional file argument is passed on.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh default
exec ./build/src/app/quillet "$@"
