#!/usr/bin/env bash
# Starts the program headless on the meter emulator and saves a picture of
# its main windows into docs/images (or the folder given).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
QT_QPA_PLATFORM=offscreen build/tools/meterlink-screenshots "${1:-docs/images}"
