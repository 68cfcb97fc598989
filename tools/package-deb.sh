#!/usr/bin/env bash
# Makes the Debian package of the Linux build, build/velmora_<version>_<arch>.deb:
# the programs in /usr/bin, the plug-in module in /usr/lib/velmora and the
# README in /usr/share/doc/velmora, depending on the Debian packages of the
# shared libraries they link.  Install it with
#
#   sudo apt install ./build/velmora_<version>_<arch>.deb
#
# The programs come from VELMORA_DEB_BUILD (default build/deb, made optimised
# and without the tests when missing); VELMORA_JOBS sets the build's
# parallelism (default: every processor).
set -euo pipefail
cd "$(dirname "$0")/.."

dir=${VELMORA_DEB_BUILD:-build/deb}
# libspng's source, compiled into the programs with its SIMD code, and
# meshoptimizer's, compiled into the map module; without them they link
# Debian's shared libraries, and CMake says so.
tools/fetch-library-sources.sh libspng meshoptimizer || true
if [[ ! -f $dir/CMakeCache.txt ]]; then
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF \
    -DVELMORA_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$dir" -j"${VELMORA_JOBS:-$(nproc)}"
rm -f "$dir"/velmora_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
package=$(find "$dir" -maxdepth 1 -name 'velmora_*.deb')
[[ -n $package ]] || { echo "package-deb.sh: cpack made no velmora_*.deb in $dir" >&2; exit 1; }
mv "$package" build/
package=build/$(basename "$package")

echo "$package:"
dpkg-deb --field "$package" Package Version Architecture Depends
dpkg-deb --contents "$package"
