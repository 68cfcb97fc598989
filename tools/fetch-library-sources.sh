#!/usr/bin/env bash
# Fetches the sources of the libraries the Windows builds link in, from
# Debian's source packages, into build/deps/<package>: libsquish (the DXT
# compressor), zlib and libspng (the PNG decoder), libjpeg-turbo (the
# JPEG decoder) and meshoptimizer (the simplifier that makes a section's
# LOD models).  Debian ships them only for the build machine, so
# tools/cross-build.sh compiles these sources with the mingw-w64 toolchain.
# The Linux build compiles libspng's too (Debian's own libspng is built
# without its SIMD code) and meshoptimizer's (Debian ships it as a shared
# library only, and the modules link their libraries in).
#
#   tools/fetch-library-sources.sh [PACKAGE...]    (every one when none is named)
#
# A package already in build/deps is not fetched again.
#
# apt-get fetches the packages with an index of Debian's sources kept under
# build/deps/apt, so the machine's own package lists stay as they are;
# dpkg-source checks the files against the packages' checksums (and their
# signatures, where a Debian keyring is installed) and applies Debian's
# patches, the security fixes among them.  libsquish's patches change only
# its build system, which is not used, so they are left out.
set -euo pipefail
cd "$(dirname "$0")/.."

# Each package, with a file that shows its source is in place.
declare -A shown_by=([libsquish]=squish.cpp [zlib]=inflate.c [libspng]=spng/spng.c [libjpeg-turbo]=jdhuff.c
  [meshoptimizer]=src/simplifier.cpp)
order=(libsquish zlib libspng libjpeg-turbo meshoptimizer)

wanted=("$@")
((${#wanted[@]})) || wanted=("${order[@]}")
missing=()
for package in "${wanted[@]}"; do
  if [[ -z ${shown_by[$package]:-} ]]; then
    IFS='|'
    echo "usage: tools/fetch-library-sources.sh [${order[*]}]...   (every one when none is named)" >&2
    exit 2
  fi
  [[ -f build/deps/$package/${shown_by[$package]} ]] || missing+=("$package")
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
if ! apt-get "${apt_options[@]}" update >/dev/null; then
  echo "fetch-library-sources: Debian's index of $suite's sources could not be downloaded (see above);" \
    "nothing fetched: ${missing[*]}" >&2
  exit 1
fi

for package in "${missing[@]}"; do
  if ! (cd "$state/download" && apt-get "${apt_options[@]}" source --download-only "$package" >"$state/source.log" 2>&1); then
    cat "$state/source.log" >&2
    echo "fetch-library-sources: apt-get could not download $package's source package (see above)" >&2
    exit 1
  fi
  target=build/deps/$package
  rm -rf "$target"
  dsc=$(ls "$state"/download/"${package}"_*.dsc)
  patches=()
  [[ $package == libsquish ]] && patches=(--skip-patches)
  dpkg-source "${patches[@]}" -x "$dsc" "$target" >/dev/null
  echo "$package source: $target (from $(basename "$dsc"))"
done
