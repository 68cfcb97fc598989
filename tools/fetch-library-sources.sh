#!/usr/bin/env bash
# Fetches the source of libsquish, the DXT compressor, from Debian's source
# package into build/deps/libsquish, for the Windows builds: Debian ships
# libsquish only for the build machine, so tools/cross-build.sh compiles
# these sources with the mingw-w64 toolchain.
#
#   tools/fetch-squish-source.sh
#
# apt-get fetches the package with an index of Debian's sources kept under
# build/deps/apt, so the machine's own package lists stay as they are;
# dpkg-source checks the files against the package's checksums (and its
# signature, where a Debian keyring is installed).  Debian's patches change
# only the build system, which is not used, so they are left out.
set -euo pipefail
cd "$(dirname "$0")/.."

target=build/deps/libsquish
[[ -f $target/squish.cpp ]] && exit 0

state=$PWD/build/deps/apt
mkdir -p "$state/lists/partial" "$state/download"
# The suite of the machine's own Debian, whose binary package the Linux
# build uses.
suite=$(. /etc/os-release && echo "${VERSION_CODENAME:?}")
echo "deb-src http://deb.debian.org/debian $suite main" >"$state/sources.list"
apt_options=(-q -o "Dir::Etc::SourceList=$state/sources.list" -o Dir::Etc::SourceParts=/dev/null
  -o "Dir::State::Lists=$state/lists")
apt-get "${apt_options[@]}" update >/dev/null
(cd "$state/download" && apt-get "${apt_options[@]}" source --download-only libsquish >/dev/null 2>&1)

rm -rf "$target"
dsc=$(ls "$state"/download/libsquish_*.dsc)
dpkg-source --skip-patches -x "$dsc" "$target" >/dev/null
echo "libsquish source: $target (from $(basename "$dsc"))"
