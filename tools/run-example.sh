#!/usr/bin/env bash
# Builds everything, exports the bundled example scene with its COL file
# through lwhost and the real plug-in module, and shows the DFF with dffinfo.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release
cmake --build build/release -j"$(nproc)"

mkdir -p out
build/release/bin/lwhost examples/buggy/buggy.lws -o out/buggy.dff --col examples/buggy/buggy.col
build/release/bin/dffinfo out/buggy.dff
echo
echo "Wrote out/buggy.dff"
