#!/usr/bin/env bash
# Installs what building the programs needs, builds the programs the example
# uses, exports the bundled example scene with its COL file through lwhost
# and the real plug-in module, builds its texture dictionary from the
# scene's images on the way, and shows both files with dffinfo.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh programs
# libspng's source, compiled with its SIMD code, and meshoptimizer's,
# compiled into the map module; without them the build takes Debian's
# shared libraries, and CMake says so.
tools/fetch-library-sources.sh libspng meshoptimizer || true

# An existing build/release keeps its configuration (tools/test.sh makes
# one with the tests); a new one is made without them, which the programs
# do not need.
if [[ ! -f build/release/CMakeCache.txt ]]; then
  cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF \
    -DVELMORA_BUILD_BENCH=OFF
fi
cmake --build build/release -j"$(nproc)" --target lwhost velmora dffinfo

mkdir -p out
build/release/bin/lwhost examples/buggy/buggy.lws -o out/buggy.dff --col examples/buggy/buggy.col \
  --txd out/buggy.txd
build/release/bin/dffinfo out/buggy.dff
build/release/bin/dffinfo out/buggy.txd
echo
echo "Wrote out/buggy.dff and out/buggy.txd"
