#!/usr/bin/env bash
# Builds everything, exports the bundled example scene with its COL file
# through lwhost and the real plug-in module, builds its texture dictionary
# from the scene's images on the way, and shows both files with dffinfo.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release
cmake --build build/release -j"$(nproc)"

mkdir -p out
build/release/bin/lwhost examples/buggy/buggy.lws -o out/buggy.dff --col examples/buggy/buggy.col \
  --txd out/buggy.txd
build/release/bin/dffinfo out/buggy.dff
build/release/bin/dffinfo out/buggy.txd
echo
echo "Wrote out/buggy.dff and out/buggy.txd"
