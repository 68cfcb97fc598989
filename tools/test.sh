#!/usr/bin/env bash
# Builds everything from a clean tree and runs the whole test suite twice:
# an optimised build, then one under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

jobs=$(nproc)

run_suite() {
  local dir=$1; shift
  rm -rf "$dir"
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE="$@"
  cmake --build "$dir" -j"$jobs"
  (cd "$dir" && ctest --output-on-failure -j"$jobs")
}

run_suite build/release Release
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build/sanitize Debug -DVELMORA_SANITIZE=ON -DVELMORA_BUILD_BENCH=OFF
