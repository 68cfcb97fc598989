#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ and runs each for SECONDS (30 by default)
# from its seeds; the image decoder runs once per kind of image file
# (image_decode_png, _jpeg, _bmp and _tga).  Naming targets runs only those:
#
#   tools/fuzz.sh [SECONDS [TARGET...]]    e.g. tools/fuzz.sh 600 image_decode_jpeg
#  What a run adds to a corpus is kept in
# build/fuzz-runs/<target>/corpus and read again by the next run; an input
# that crashes, leaks, hangs or runs out of memory is kept beside it, and
# the script then fails.  A machine without clang's libFuzzer runtime is
# reported and skipped.
set -euo pipefail
cd "$(dirname "$0")/.."

all_targets=(lwo2_object lws_scene dff_inspect col_walk col_inspect export map_export
  image_decode_png image_decode_jpeg image_decode_bmp image_decode_tga import section_files)
usage() {
  echo "usage: tools/fuzz.sh [SECONDS [TARGET...]]   (seconds per target, 30 by default;" \
    "targets: ${all_targets[*]})" >&2
  exit 2
}
seconds=${1:-30}
if ! [[ $seconds =~ ^[0-9]+$ ]] || ((seconds == 0)); then usage; fi
targets=("${@:2}")
((${#targets[@]})) || targets=("${all_targets[@]}")
for target in "${targets[@]}"; do
  [[ " ${all_targets[*]} " == *" $target "* ]] || usage
done
declare -A dictionaries=([lwo2_object]=lwo2.dict [lws_scene]=lws.dict [export]=lwo2.dict [map_export]=lwo2.dict)
# The per-kind image runs share one program and its seeds; the kind is
# chosen by the environment.
program_of() { [[ $1 == image_decode_* ]] && echo image_decode || echo "$1"; }

# The runtime is there when clang can link a fuzzer.
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' > "$probe/probe.cpp"
if ! command -v clang++ >/dev/null ||
   ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" 2>"$probe/error"; then
  echo "fuzz: skipped: this machine has no clang with the libFuzzer runtime (tools/install-deps.sh fuzz installs clang and libclang-rt-14-dev)"
  sed 's/^/fuzz:   /' "$probe/error" 2>/dev/null || true
  exit 0
fi

# libspng's source, so that the fuzzer sees into the decoder the programs
# link; without it the build takes Debian's shared libspng.
tools/fetch-library-sources.sh libspng || true

build=build/fuzz
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVELMORA_FUZZ=ON -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCH=OFF >/dev/null
programs=()
for target in "${targets[@]}"; do programs+=("fuzz_$(program_of "$target")"); done
cmake --build "$build" -j"$(nproc)" --target "${programs[@]}"

failed=()
for target in "${targets[@]}"; do
  runs=build/fuzz-runs/$target
  mkdir -p "$runs/corpus"
  options=(-max_total_time="$seconds" -timeout=60 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$runs/")
  [[ -n ${dictionaries[$target]:-} ]] && options+=(-dict="fuzz/${dictionaries[$target]}")
  program=$(program_of "$target")
  kind=""
  [[ $target == image_decode_* ]] && kind=${target#image_decode_}
  echo "fuzz: $target for ${seconds} s"
  if VELMORA_FUZZ_IMAGE_KIND=$kind \
     "$build/bin/fuzz_$program" "${options[@]}" "$runs/corpus" "fuzz/corpus/$program" >"$runs/log" 2>&1; then
    summary=$(grep -E '^#[0-9]+.*(DONE|pulse|NEW|REDUCE)' "$runs/log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+' || true)
    executions=$(grep -oE 'stat::number_of_executed_units: [0-9]+' "$runs/log" | grep -oE '[0-9]+$' || true)
    echo "fuzz: $target passed: ${executions:-?} executions, ${summary:-no coverage line}"
  else
    echo "fuzz: $target FAILED; its log is $runs/log and the input that failed is kept in $runs/:"
    grep -E 'ERROR: |SUMMARY: |Test unit written to' "$runs/log" | sed 's/^/fuzz:   /' || tail -20 "$runs/log"
    failed+=("$target")
  fi
done

if ((${#failed[@]})); then
  echo "fuzz: ${#failed[@]} target(s) failed: ${failed[*]}"
  exit 1
fi
echo "fuzz: all ${#targets[@]} targets ran ${seconds} s each without a fault"
