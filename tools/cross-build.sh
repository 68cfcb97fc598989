#!/usr/bin/env bash
# Cross-builds the Windows deliverables with mingw-w64: velmora.dll,
# velmora_map.dll, velmora_import.dll, brasko.exe, lwhost.exe, dffinfo.exe, maketxd.exe and
# makecol.exe for 32-bit Windows into build/win32/bin and for 64-bit
# Windows into build/win64/bin, then checks
# what each file imports and exports.
#
#   tools/cross-build.sh [win32|win64]...    (both when none is named)
#
# VELMORA_JOBS sets the build's parallelism (default 2).
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=${VELMORA_JOBS:-2}
deliverables=(velmora velmora_map velmora_import brasko lwhost dffinfo maketxd makecol)

toolchain_of() {
  case $1 in
    win32) echo cmake/toolchains/mingw-i686.cmake ;;
    win64) echo cmake/toolchains/mingw-x86_64.cmake ;;
    *) echo "cross-build.sh: unknown target '$1' (expected win32 or win64)" >&2; return 1 ;;
  esac
}

build_target() {
  local target=$1 toolchain dir
  toolchain=$(toolchain_of "$target")
  dir=build/$target
  echo "== $target: configuring $dir"
  cmake -S . -B "$dir" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release \
    -DVELMORA_BUILD_TESTS=OFF \
    -DVELMORA_BUILD_BENCH=OFF \
    -DVELMORA_SQUISH_SOURCE_DIR="$PWD/build/deps/libsquish" \
    -DVELMORA_IMAGE_SOURCES_DIR="$PWD/build/deps" >/dev/null
  echo "== $target: building ${deliverables[*]}"
  cmake --build "$dir" -j"$jobs" --target "${deliverables[@]}"
  tools/check-windows-binaries.sh "$target" "$dir/bin"
}

# Debian has no Windows build of libsquish, zlib, libspng, libjpeg-turbo or
# meshoptimizer: their sources are compiled in.
tools/fetch-library-sources.sh

targets=("$@")
((${#targets[@]})) || targets=(win32 win64)
for target in "${targets[@]}"; do
  build_target "$target"
done
