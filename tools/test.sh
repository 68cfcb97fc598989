#!/usr/bin/env bash
# Builds everything from a clean tree and runs the whole test suite twice:
# an optimised build with GCC, then one with Clang under AddressSanitizer
# and UndefinedBehaviorSanitizer, so that both compilers build the whole
# tree, benchmarks included, warning-free.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh programs tests
# libspng's source, compiled with its SIMD code, and meshoptimizer's,
# compiled into the map module; without them the builds take Debian's
# shared libraries, and CMake says so.
tools/fetch-library-sources.sh libspng meshoptimizer || true

jobs=$(nproc)

run_suite() {
  local dir=$1 started=$SECONDS
  shift
  rm -rf "$dir"
  cmake -S . -B "$dir" "$@"
  cmake --build "$dir" -j"$jobs"
  (cd "$dir" && ctest --output-on-failure -j"$jobs")
  echo "== $dir: built and tested in $((SECONDS - started)) s"
}

run_suite build/release -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build/sanitize -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DVELMORA_SANITIZE=ON
