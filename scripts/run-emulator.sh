#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program with COM1 on the
# built-in meter emulator.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/app/meterlink --com1 emulator "$@"
