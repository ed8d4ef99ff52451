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
rec=build-bench/bench/recording/bench_recording
# wc -l on the same file, for scale: the best of 3 (the file is in the page cache).
wc_ms() {
  local best=""
  for _ in 1 2 3; do
    local start end ms
    start=$(date +%s%N); wc -l "$1" >/dev/null; end=$(date +%s%N)
    ms=$(( (end - start) / 1000000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}
$rec generate "$big/second.dat" 10000 >/dev/null
$rec open-small "$big/second.dat" | grep '^|'
for run in "1000000 80 20" "10000000 1000 50"; do
  set -- $run
  $rec generate "$big/months.dat" "$1" >/dev/null
  echo "| recording: wc -l on the $(numfmt --grouping "$1" | tr , ' ')-line file, best of 3 | $(wc_ms "$big/months.dat") ms | |"
  $rec open "$big/months.dat" "$2" "$3" "$big/second.dat" | grep '^|'
done
rm -f "$big/months.dat"
if [ -x build-bench/bench/logger/bench_download ]; then
  build-bench/bench/logger/bench_download | grep '^|'
fi
