#!/usr/bin/env bash
# Times lwhost end to end, from reading a 1,000,000-triangle LWO2 object to
# the closed DFF, and reports its peak memory.
#
# Usage: bench/lwhost_end_to_end.sh [BUILD_DIR]   (a Release build; default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target lwhost velmora make_grid_object >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/make_grid_object" "$work/grid.lwo"

for run in 1 2 3; do
  /usr/bin/time -f "run $run: %e s wall, %U s user, %S s system, %M KiB peak" \
    "$build/bin/lwhost" "$work/grid.lwo" -o "$work/grid.dff" --no-col >/dev/null
done
ls -l "$work/grid.lwo" "$work/grid.dff" | awk '{print $5, $9}'
