#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test the system.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake g++ make
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev
  # maketxd: image decoding and resampling, DXT compression.
  libstb-dev libsquish-dev
  assimp-utils assimp-testmodels
  time  # /usr/bin/time, for bench/compare_assimp.sh
  # Runs npm's rw-parser, an independent DFF reader the tests compare with.
  nodejs
  # The fuzz targets: clang and its libFuzzer and sanitizer runtimes.
  clang libclang-rt-14-dev
  # The Windows builds, their checks under Wine and the release archive.
  mingw-w64 wine wine64 xvfb xdotool zip unzip
  # dpkg-source unpacks libsquish's source for the Windows builds.
  dpkg-dev
)
# Some nodejs builds bring npm along; Debian's own is a package of its own.
command -v npm >/dev/null || packages+=(npm)

# Wine's 32-bit half, a package of the i386 architecture, is installed on
# its own: when the mirror's i386 indexes lag behind the amd64 ones it
# cannot be installed at all, and the win32 checks under Wine are then
# skipped (tools/wine-check.sh) rather than everything else left out.
wine32=wine32

is_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=()
for p in "${packages[@]}"; do
  is_installed "$p" || missing+=("$p")
done
want_wine32=0
is_installed "$wine32" || want_wine32=1

if ((${#missing[@]} || want_wine32)); then
  export DEBIAN_FRONTEND=noninteractive
  SUDO=""
  [[ $(id -u) -ne 0 ]] && SUDO=sudo
  if ((want_wine32)) && ! dpkg --print-foreign-architectures | grep -qx i386; then
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
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  # With their recommendations: Wine draws its fonts and helpers from them,
  # and the message boxes of the checks under Wine need those.
  $SUDO apt-get install -y -q -o Acquire::Retries=3 "${missing[@]}"
fi
if ((want_wine32)); then
  echo "installing: $wine32"
  if ! $SUDO apt-get install -y -q -o Acquire::Retries=3 "$wine32"; then
    echo "install-deps: $wine32 (Wine's 32-bit half) cannot be installed from this machine's" \
      "package indexes (see above); everything else is installed, and tools/wine-check.sh" \
      "will skip the win32 checks under Wine" >&2
  fi
fi

# rw-parser, the npm reader the tests check our DFF and TXD files with, goes
# into the build tree beside the builds; the tests look for it there.  It
# comes from the npm registry: where that cannot be reached, the comparison
# with it reports itself skipped and everything else still runs.
if [[ ! -f build/npm/node_modules/rw-parser/package.json ]]; then
  npm install --prefix build/npm rw-parser@2.0.0 ||
    echo "install-deps: npm could not install rw-parser; the test comparing with it will be skipped" >&2
fi
