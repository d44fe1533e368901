#!/usr/bin/env bash
# Sets everything up, builds, and starts the editor; an optional file argument is passed on.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh default
# The build registers its own converters (.docx, .odt) in a machine store of its own.
export QUILLET_MACHINE_STORE="${QUILLET_MACHINE_STORE:-$PWD/build/machine.reg}"
exec ./build/src/app/quillet "$@"
