#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/ and runs the test suite there. Any finding fails the run.
# Extra arguments go to CMake (e.g. -DMETERLINK_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
BUILD_DIR=build-asan BUILD_TYPE=RelWithDebInfo scripts/build.sh \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" "$@"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p /tmp/meterlink-xdg && chmod 700 /tmp/meterlink-xdg
ctest --test-dir build-asan --output-on-failure -j "$(nproc)" --timeout 300
