#!/usr/bin/env bash
# Fetches the sources of the libraries the Windows builds link in, from
# Debian's source packages, into build/deps/<package>: libsquish (the DXT
# compressor), zlib and libspng (the PNG decoder) and libjpeg-turbo (the
# JPEG decoder).  Debian ships them only for the build machine, so
# tools/cross-build.sh compiles these sources with the mingw-w64 toolchain.
#
#   tools/fetch-library-sources.sh
#
# apt-get fetches the packages with an index of Debian's sources kept under
# build/deps/apt, so the machine's own package lists stay as they are;
# dpkg-source checks the files against the packages' checksums (and their
# signatures, where a Debian keyring is installed) and applies Debian's
# patches, the security fixes among them.  libsquish's patches change only
# its build system, which is not used, so they are left out.
set -euo pipefail
cd "$(dirname "$0")/.."

# package, then a file that shows its source is in place
packages=("libsquish squish.cpp" "zlib inflate.c" "libspng spng/spng.c" "libjpeg-turbo jdhuff.c")

missing=()
for entry in "${packages[@]}"; do
  read -r package file <<<"$entry"
  [[ -f build/deps/$package/$file ]] || missing+=("$package")
done
((${#missing[@]})) || exit 0

state=$PWD/build/deps/apt
mkdir -p "$state/lists/partial" "$state/download"
# The suite of the machine's own Debian, whose binary packages the Linux
# build uses.
suite=$(. /etc/os-release && echo "${VERSION_CODENAME:?}")
echo "deb-src http://deb.debian.org/debian $suite main" >"$state/sources.list"
apt_options=(-q -o "Dir::Etc::SourceList=$state/sources.list" -o Dir::Etc::SourceParts=/dev/null
  -o "Dir::State::Lists=$state/lists")
apt-get "${apt_options[@]}" update >/dev/null

for package in "${missing[@]}"; do
  (cd "$state/download" && apt-get "${apt_options[@]}" source --download-only "$package" >/dev/null 2>&1)
  target=build/deps/$package
  rm -rf "$target"
  dsc=$(ls "$state"/download/"${package}"_*.dsc)
  patches=()
  [[ $package == libsquish ]] && patches=(--skip-patches)
  dpkg-source "${patches[@]}" -x "$dsc" "$target" >/dev/null
  echo "$package source: $target (from $(basename "$dsc"))"
done
