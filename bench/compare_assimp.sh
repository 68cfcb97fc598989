#!/usr/bin/env bash
# Measures lwhost against assimp on one generated LWO2 object: makes the
# object (bench/make_grid_object), then runs `lwhost X.lwo -o X.dff
# --no-col` and `assimp export X.lwo X.glb` alternately, three times each,
# and prints the median wall time and peak memory (maximum resident set) of
# each and the two ratios, ours over assimp's.  Alternating the runs keeps
# the ratios fair on a machine whose load drifts; the load is printed
# beside the figures, since it still moves the wall times themselves.
#
# Usage: bench/compare_assimp.sh [TRIANGLES [LAYERS]]
#   (default 1000000 20; BUILD_DIR picks a Release build, default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build/release}
triangles=${1:-1000000}
layers=${2:-20}
runs=3

for tool in assimp /usr/bin/time; do
  if ! command -v "$tool" >/dev/null; then
    echo "compare_assimp.sh: $tool is missing; tools/install-deps.sh tests installs it" >&2
    exit 1
  fi
done

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target lwhost velmora make_grid_object >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/make_grid_object" "$work/grid.lwo" "$triangles" "$layers"

# One timed run: appends "WALL_SECONDS PEAK_KIB" to the file $1.
measure() {
  local out=$1; shift
  if ! /usr/bin/time -f "%e %M" -o "$work/time" "$@" >"$work/log" 2>&1; then
    echo "compare_assimp.sh: failed: $*" >&2
    cat "$work/log" >&2
    exit 1
  fi
  cat "$work/time" >>"$out"
}

median() {  # column $2 of the file $1
  awk -v c="$2" '{print $c}' "$1" | sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'
}

echo "load before: $(uptime | sed 's/.*load average/load average/')"
for run in $(seq "$runs"); do
  measure "$work/ours" "$build/bin/lwhost" "$work/grid.lwo" -o "$work/grid.dff" --no-col
  measure "$work/theirs" assimp export "$work/grid.lwo" "$work/grid.glb"
done
echo "load after:  $(uptime | sed 's/.*load average/load average/')"

ours_s=$(median "$work/ours" 1); ours_kib=$(median "$work/ours" 2)
theirs_s=$(median "$work/theirs" 1); theirs_kib=$(median "$work/theirs" 2)
printf 'object: %s triangles asked in %s layers, %s bytes; DFF %s bytes\n' \
  "$triangles" "$layers" "$(stat -c %s "$work/grid.lwo")" "$(stat -c %s "$work/grid.dff")"
awk -v runs="$runs" -v os="$ours_s" -v ok="$ours_kib" -v ts="$theirs_s" -v tk="$theirs_kib" 'BEGIN {
  printf "lwhost: median of %d  %6.2f s wall  %7.1f MiB peak\n", runs, os, ok / 1024
  printf "assimp: median of %d  %6.2f s wall  %7.1f MiB peak\n", runs, ts, tk / 1024
  printf "ratio lwhost/assimp: time %.3fx  memory %.3fx\n", os / ts, ok / tk
}'
