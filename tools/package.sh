#!/usr/bin/env bash
# Makes the Windows release archive build/velmora-<version>-windows.zip, the
# version being the project's (CMakeLists.txt):
#
#   x86/velmora.dll  x86/lwhost.exe   the 32-bit plug-ins, and the stand-in
#   x86/velmora_map.dll               host that loads the modules beside it
#   x86/velmora_import.dll            (velmora_import opens DFF models as scenes)
#   x64/...                           the same for 64-bit Layout
#   brasko.exe  dffinfo.exe           32-bit builds: they run on every Windows
#   maketxd.exe  makecol.exe
#   example/                          the bundled example scene, COL file and images
#   INSTALL.txt                       the install guide
#
# Builds what is missing first (tools/cross-build.sh).  Entries are sorted
# and dated by the last commit, so the same sources give the same archive.
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(sed -n 's/^project(velmora VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
[[ -n $version ]] || { echo "package.sh: no project VERSION in CMakeLists.txt" >&2; exit 1; }
name=velmora-$version-windows
archive=build/$name.zip

tools/cross-build.sh win32 win64

stage=$(mktemp -d /tmp/velmora-package.XXXXXX)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/x86" "$stage/x64" "$stage/example/images"
cp build/win32/bin/velmora.dll build/win32/bin/velmora_map.dll build/win32/bin/velmora_import.dll \
  build/win32/bin/lwhost.exe "$stage/x86/"
cp build/win64/bin/velmora.dll build/win64/bin/velmora_map.dll build/win64/bin/velmora_import.dll \
  build/win64/bin/lwhost.exe "$stage/x64/"
cp build/win32/bin/brasko.exe build/win32/bin/dffinfo.exe build/win32/bin/maketxd.exe \
  build/win32/bin/makecol.exe "$stage/"
cp examples/buggy/buggy.lws examples/buggy/buggy.lwo examples/buggy/buggy.col "$stage/example/"
cp examples/buggy/images/*.tga "$stage/example/images/"
# Windows line endings, so that every text editor shows the lines.
sed -e "s/@VERSION@/$version/" -e 's/$/\r/' tools/release/INSTALL.txt >"$stage/INSTALL.txt"

epoch=$(git log -1 --format=%ct 2>/dev/null || date +%s)
find "$stage" -exec touch -d "@$epoch" {} +
rm -f "$archive"
mkdir -p build
(cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | zip -q -X -@ "$OLDPWD/$archive")

echo "$archive:"
unzip -l "$archive"
