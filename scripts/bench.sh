#!/usr/bin/env bash
# Builds the benchmarks in release mode and prints one table of figures.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
BUILD_DIR=build-bench BUILD_TYPE=Release scripts/build.sh -DMETERLINK_BENCHMARKS=ON -DMETERLINK_TESTS=OFF
export QT_QPA_PLATFORM=offscreen
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo
echo "| figure | measured | target |"
echo "|---|---|---|"
build-bench/bench/live/bench_live build-bench/emulator/meter-emulator 30 | grep '^|'
build-bench/bench/cli/bench_cli build-bench/cli/meterlink-cli build-bench/emulator/meter-emulator 60 | grep '^|'
big=$(mktemp -d)
trap 'rm -rf "$big"' EXIT
build-bench/bench/recording/bench_recording generate "$big/week.dat" 1000000 >/dev/null
build-bench/bench/recording/bench_recording open "$big/week.dat" | grep '^|'
if [ -x build-bench/bench/logger/bench_download ]; then
  build-bench/bench/logger/bench_download | grep '^|'
fi
