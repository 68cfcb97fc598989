#!/usr/bin/env bash
# Installs the build into a fresh prefix as a user would and runs the
# example from there, the programs called by name from the PATH: lwhost
# must find the installed module, its export must be the build tree's byte
# for byte, and without a module it must say where it looked.
#
#   install_test.sh CMAKE BUILD_DIR EXAMPLE_DIR
set -uo pipefail
cmake=$1 build=$2 example=$3

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
if ! "$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  echo "FAIL: cmake --install $build did not install" >&2
  exit 1
fi

for file in bin/lwhost bin/dffinfo bin/maketxd bin/makecol bin/brasko lib/velmora/velmora.so \
    lib/velmora/velmora_map.so lib/velmora/velmora_import.so \
    share/doc/velmora/README.md; do
  [[ -f $prefix/$file ]] || fail "nothing was installed as $file"
done
[[ -e $prefix/bin/velmora.so ]] && fail "the module was installed among the programs"

cp -r "$example" "$work/example"
cd "$work" || exit 1
export PATH=$prefix/bin:$PATH
scene=example/buggy.lws col=example/buggy.col

lwhost --help >/dev/null || fail "lwhost --help failed"
if lwhost "$scene" -o installed.dff --col "$col" --txd installed.txd >lwhost.log 2>&1; then
  "$build/bin/lwhost" "$scene" -o built.dff --col "$col" --txd built.txd >/dev/null ||
    fail "the build tree's lwhost did not export the example"
  cmp -s built.dff installed.dff || fail "the installed lwhost wrote another DFF than the build tree's"
  cmp -s built.txd installed.txd || fail "the installed lwhost wrote another TXD than the build tree's"
  dffinfo --quiet installed.dff || fail "the installed dffinfo rejected the example's DFF"
  maketxd installed.dff -o rebuilt.txd --images example/images >/dev/null ||
    fail "the installed maketxd did not build the example's TXD"
else
  fail "the installed lwhost did not export the example: $(cat lwhost.log)"
fi

# Beside lwhost comes first: a file there is taken even when it is no module.
: >"$prefix/bin/velmora.so"
lwhost "$scene" -o beside.dff --no-col >beside.log 2>&1
status=$?
((status == 2)) && grep -q "$prefix/bin/velmora.so" beside.log ||
  fail "a velmora.so beside lwhost was not the one loaded (status $status): $(cat beside.log)"

rm "$prefix/bin/velmora.so" "$prefix/lib/velmora/velmora.so"
lwhost "$scene" -o none.dff --no-col >none.log 2>&1
status=$?
((status == 2)) && grep -q "$prefix/bin/velmora.so" none.log &&
  grep -q "$prefix/lib/velmora/velmora.so" none.log && grep -q -- "--module" none.log ||
  fail "without a module lwhost did not end with 2 naming where it looked (status $status): $(cat none.log)"
[[ -e none.dff ]] && fail "lwhost without a module left a DFF behind"

if ((failures)); then
  echo "$failures install check(s) failed" >&2
  exit 1
fi
echo "installed into a fresh prefix: the example runs from there"
