#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan, UBSan) into build-fuzz/
# and runs one target, or all of them one after the other, for the given
# number of seconds each. Any finding (crash, sanitizer report, broken
# check, an input that runs longer than 10 s) fails the run; the input is
# kept in build-fuzz/findings/<target>/. Keep it as a regression case by
# copying it to fuzz/regressions/<target>/ once it is fixed.
#
#   scripts/fuzz.sh all 30        # every target, 30 s each (what CI runs)
#   scripts/fuzz.sh live 600      # one target for ten minutes
#
# New inputs the fuzzer finds go to build-fuzz/corpus/<target>/ and are
# used again by the next run; the committed seeds (fuzz/corpus) and kept
# regressions (fuzz/regressions) are read, never changed.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() { echo "usage: scripts/fuzz.sh TARGET|all SECONDS  (targets: $(targets | tr '\n' ' '))" >&2; exit 2; }
targets() { for f in fuzz/fuzz_*.cpp; do basename "$f" .cpp | sed 's/^fuzz_//'; done; }

[ $# -eq 2 ] || usage
what=$1
seconds=$2
[[ "$seconds" =~ ^[0-9]+$ ]] && [ "$seconds" -gt 0 ] || usage
if [ "$what" = all ]; then
  mapfile -t chosen < <(targets)
else
  targets | grep -x "$what" >/dev/null || usage
  chosen=("$what")
fi

scripts/install-deps.sh clang-14 libclang-rt-14-dev
build=build-fuzz
CXX=clang++-14 cmake -S fuzz -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${chosen[@]/#/fuzz_}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
for target in "${chosen[@]}"; do
  work="$build/corpus/$target"
  findings="$build/findings/$target"
  mkdir -p "$work" "$findings" "fuzz/regressions/$target"
  seeds="fuzz/corpus/$target"
  case "$target" in
    datafile) max_len=2048 ;;   # every byte costs file work: smaller inputs, more runs
    live) max_len=4096 ;;
    *) max_len=8192 ;;          # a directory of 255 sets, a long "K" reply
  esac
  echo "=== fuzz_$target: $seconds s"
  if ! "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len="$max_len" -print_final_stats=1 -artifact_prefix="$findings/" \
      "$work" "$seeds" "fuzz/regressions/$target" 2>"$build/fuzz_$target.log"; then
    grep -E 'FINDING|ERROR|SUMMARY|runtime error|Test unit written' "$build/fuzz_$target.log" >&2 || true
    echo "fuzz_$target: FOUND a problem; full log $build/fuzz_$target.log, input in $findings/" >&2
    failed+=("$target")
    continue
  fi
  grep -E '^stat::(number_of_executed_units|new_units_added)|^Done' "$build/fuzz_$target.log" || true
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Findings in: ${failed[*]}" >&2
  exit 1
fi
echo "No findings."
