#!/usr/bin/env bash
# Checks the cross-built Windows deliverables in one bin folder:
#  - each is a PE file for the right machine;
#  - none imports a DLL that Windows does not ship (the C and C++ runtimes
#    must be linked in);
#  - velmora.dll, velmora_map.dll and velmora_import.dll each export exactly one name,
#    _mod_descrip, and it is data: Layout reads the descriptor there, it
#    does not call it;
#  - brasko.exe is a GUI program, so no console window opens with it.
#
#   tools/check-windows-binaries.sh win32|win64 <bin folder>
set -euo pipefail

target=${1:?target (win32 or win64)}
bin=${2:?bin folder}
case $target in
  win32) triple=i686-w64-mingw32 format=pei-i386 ;;
  win64) triple=x86_64-w64-mingw32 format=pei-x86-64 ;;
  *) echo "check-windows-binaries.sh: unknown target '$target'" >&2; exit 2 ;;
esac
objdump=$triple-objdump

# DLLs every supported Windows version has in its system folder.
system_dlls=" kernel32.dll msvcrt.dll user32.dll comdlg32.dll gdi32.dll advapi32.dll
  shell32.dll shlwapi.dll ole32.dll "

failures=0
fail() {
  echo "FAIL $target: $*" >&2
  failures=$((failures + 1))
}

check_format() {
  local file=$1 actual
  actual=$($objdump -f "$file" | sed -n 's/.*file format \(.*\)$/\1/p')
  [[ $actual == "$format" ]] || fail "$(basename "$file") is '$actual', not $format"
}

check_imports() {
  local file=$1 dll
  while read -r dll; do
    [[ $system_dlls == *" ${dll,,} "* ]] ||
      fail "$(basename "$file") needs $dll, which Windows does not ship"
  done < <($objdump -p "$file" | sed -n 's/^\s*DLL Name: //p')
}

check_subsystem() {
  local file=$1 expected=$2 actual
  actual=$($objdump -p "$file" | sed -n 's/^Subsystem\s*[0-9a-f]*\s*(\(.*\))$/\1/p')
  [[ $actual == "$expected" ]] || fail "$(basename "$file") is a '$actual' program, not '$expected'"
}

# The names in the export table, one a line.
exported_names() {
  $objdump -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^\s*\[\s*[0-9]*\]\s*//p'
}

# The flags of the section that holds the address the only export points at.
export_section_flags() {
  local file=$1 base rva address index name size vma rest inside=0
  base=$($objdump -p "$file" | sed -n 's/^ImageBase\s*//p')
  rva=$($objdump -p "$file" | sed -n 's/^\s*\[\s*0\] +base\[\s*[0-9]*\]\s*\([0-9a-f]*\) Export RVA$/\1/p')
  [[ -n $base && -n $rva ]] || return 0
  address=$((16#$base + 16#$rva))
  # Each section is a line "index name size vma ..." and a line of flags.
  while read -r index name size vma rest; do
    if ((inside)); then
      echo "$index $name $size $vma $rest"
      return 0
    fi
    [[ $index =~ ^[0-9]+$ ]] || continue
    ((address >= 16#$vma && address < 16#$vma + 16#$size)) && inside=1
  done < <($objdump -h "$file")
}

check_module_exports() {
  local file=$1 module names flags
  module=$(basename "$file")
  names=$(exported_names "$file" | tr '\n' ' ')
  [[ $names == "_mod_descrip " ]] || fail "$module exports '${names% }' instead of exactly _mod_descrip"
  flags=$(export_section_flags "$file")
  [[ $flags == *DATA* && $flags != *CODE* ]] ||
    fail "$module's _mod_descrip is not in a data section (section flags: '$flags')"
}

for name in velmora.dll velmora_map.dll velmora_import.dll brasko.exe lwhost.exe dffinfo.exe maketxd.exe makecol.exe; do
  file=$bin/$name
  if [[ ! -f $file ]]; then
    fail "$file was not built"
    continue
  fi
  check_format "$file"
  check_imports "$file"
done
for name in velmora.dll velmora_map.dll velmora_import.dll; do
  [[ -f $bin/$name ]] && check_module_exports "$bin/$name"
done
[[ -f $bin/brasko.exe ]] && check_subsystem "$bin/brasko.exe" "Windows GUI"
for name in lwhost.exe dffinfo.exe maketxd.exe makecol.exe; do
  [[ -f $bin/$name ]] && check_subsystem "$bin/$name" "Windows CUI"
done

if ((failures)); then
  echo "$target: $failures check(s) failed" >&2
  exit 1
fi
echo "$target: PE format, imports, exports and subsystems as required"
