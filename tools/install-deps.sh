#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks for the jobs named:
#
#   tools/install-deps.sh [SET...]      (every set when none is named)
#
#   programs  the compiler, CMake and the libraries the programs link:
#             enough to build, install and package lwhost, dffinfo, maketxd,
#             brasko and the module, and to run the example
#   tests     GoogleTest, Google Benchmark, clang and its sanitizer runtimes
#             (the sanitizer suite is built with clang), Node.js and npm's
#             rw-parser, assimp and its test models
#   fuzz      clang and its libFuzzer and sanitizer runtimes
#   windows   mingw-w64, Wine, Xvfb and the helpers of the checks under Wine
#             and of the release archive; Wine's 32-bit half (wine32) and the
#             i386 architecture it comes from where they can be installed
#
# tools/run-example.sh asks for programs, tools/test.sh for programs and
# tests, CI for every set.  Only the Windows set brings its packages'
# recommendations: Wine draws its fonts and helpers from them.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A sets=(
  [programs]="cmake g++ make libcli11-dev nlohmann-json3-dev libstb-dev libsquish-dev
              zlib1g-dev libspng-dev libjpeg62-turbo-dev libmeshoptimizer-dev dpkg-dev file"
  [tests]="libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
           assimp-utils assimp-testmodels time nodejs"
  [fuzz]="clang libclang-rt-14-dev"
  [windows]="mingw-w64 wine wine64 xvfb xdotool zip unzip dpkg-dev nasm"
)
# programs: libjpeg62-turbo-dev (JPEG) and libstb-dev
#   (TGA, BMP, resampling) are maketxd's image decoding, libsquish-dev its
#   DXT compression; PNG is decoded by libspng compiled from its source
#   (tools/fetch-library-sources.sh, which needs dpkg-dev's dpkg-source)
#   against zlib1g-dev, or by libspng-dev where the source cannot be
#   fetched; libmeshoptimizer-dev makes the section's LOD models, likewise
#   compiled from its source where it was fetched (Debian ships no static
#   library of it); dpkg-dev and file are what CPack's Debian packages need
#   (tools/package-deb.sh).
# tests: `time` is /usr/bin/time, for bench/compare_assimp.sh; Node.js runs
#   rw-parser, an independent DFF reader the tests compare with.
# windows: dpkg-dev's dpkg-source unpacks the sources of libsquish, zlib,
#   libspng, libjpeg-turbo and meshoptimizer for the Windows builds; nasm assembles
#   libjpeg-turbo's SIMD code.
order=(programs tests fuzz windows)

usage() {
  local IFS='|'
  echo "usage: tools/install-deps.sh [${order[*]}]...   (every set when none is named)" >&2
  exit 2
}

wanted=("$@")
((${#wanted[@]})) || wanted=("${order[@]}")
want() { [[ " ${wanted[*]} " == *" $1 "* ]]; }
for set in "${wanted[@]}"; do
  [[ -n ${sets[$set]:-} ]] || usage
done

is_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

# The packages of the wanted sets that are not installed yet, each once, as
# `lean` (installed without recommendations) and `windows`.
lean=() windows=()
declare -A listed=()
for set in "${order[@]}"; do
  want "$set" || continue
  for p in ${sets[$set]}; do
    [[ -n ${listed[$p]:-} ]] && continue
    listed[$p]=1
    is_installed "$p" && continue
    if [[ $set == windows ]]; then windows+=("$p"); else lean+=("$p"); fi
  done
done
# Some nodejs builds bring npm along; Debian's own is a package of its own.
if want tests && ! command -v npm >/dev/null && ! is_installed npm; then lean+=(npm); fi
# Wine's 32-bit half, a package of the i386 architecture, is installed on
# its own: when the mirror's i386 indexes lag behind the amd64 ones it
# cannot be installed at all, and the win32 checks under Wine are then
# skipped (tools/wine-check.sh) rather than everything else left out.
wine32=""
if want windows && ! is_installed wine32; then wine32=wine32; fi

SUDO=""
[[ $(id -u) -ne 0 ]] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
apt_install() {
  $SUDO apt-get install -y -q -o Acquire::Retries=3 "$@"
}

if ((${#lean[@]} + ${#windows[@]})) || [[ -n $wine32 ]]; then
  if [[ -n $wine32 ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  # An index that fails to download (a mirror in the middle of a sync) is no
  # reason to stop: the installation below fails if a package it needs is
  # then out of reach.
  if ! $SUDO apt-get update -q -o Acquire::Retries=3; then
    echo "install-deps: some package indexes could not be downloaded (see above);" \
      "installing from those that could" >&2
  fi
fi
if ((${#lean[@]})); then
  echo "installing: ${lean[*]}"
  apt_install --no-install-recommends "${lean[@]}"
fi
if ((${#windows[@]})); then
  echo "installing: ${windows[*]}"
  apt_install "${windows[@]}"
fi
if [[ -n $wine32 ]]; then
  echo "installing: $wine32"
  if ! apt_install "$wine32"; then
    echo "install-deps: $wine32 (Wine's 32-bit half) cannot be installed from this machine's" \
      "package indexes (see above); everything else is installed, and tools/wine-check.sh" \
      "will skip the win32 checks under Wine" >&2
  fi
fi

# rw-parser, the npm reader the tests check our DFF and TXD files with, goes
# into the build tree beside the builds; the tests look for it there.  It
# comes from the npm registry: where that cannot be reached, the comparison
# with it reports itself skipped and everything else still runs.
if want tests && [[ ! -f build/npm/node_modules/rw-parser/package.json ]]; then
  npm install --prefix build/npm rw-parser@2.0.0 ||
    echo "install-deps: npm could not install rw-parser; the test comparing with it will be skipped" >&2
fi
