#!/usr/bin/env bash
# The probes of tools/wine-capabilities.sh: a wrong probe program or a run
# that hangs would make tools/wine-check.sh skip checks this machine can
# run, or never finish, and no other test would notice.
set -uo pipefail
# shellcheck source=tools/wine-capabilities.sh
source "$(dirname "$0")/../../tools/wine-capabilities.sh"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# --- the 32-bit x86 probe ---------------------------------------------------------

# Where the kernel runs 32-bit programs, the probe must run too: so it is
# an i386 executable that loads no interpreter (no 32-bit library is
# needed), with its entry point in an executable segment.
check_i386_probe_is_static_i386() {
  local probe header segments entry
  probe=$(make_i386_probe "$work") || { fail "the i386 probe could not be made"; return; }
  header=$(readelf -h "$probe")
  grep -q 'Class:.*ELF32' <<<"$header" || fail "the i386 probe is not a 32-bit ELF file"
  grep -q 'Machine:.*Intel 80386' <<<"$header" || fail "the i386 probe is not for Intel 80386"
  grep -q 'Type:.*EXEC' <<<"$header" || fail "the i386 probe is not a plain executable"
  segments=$(readelf -lW "$probe")
  grep -q 'INTERP' <<<"$segments" && fail "the i386 probe needs a program interpreter"
  entry=$(sed -n 's/^ *Entry point address: *0x\([0-9a-f]*\)$/\1/p' <<<"$header")
  local type offset address physical size memory flags found=0
  while read -r type offset address physical size memory flags; do
    [[ $type == LOAD && $flags == *E* ]] || continue
    ((16#$entry >= address && 16#$entry < address + memory)) && found=1
  done <<<"$segments"
  ((found)) ||
    fail "the i386 probe's entry point lies in no executable segment"
}

# Either the probe ran and ended with the probe status, or the evidence
# says how it ended, for the line naming what was skipped.
check_i386_verdict_has_evidence() {
  local probe
  probe=$(make_i386_probe "$work") || return
  if ! ends_as_probe "$probe"; then
    [[ $probe_evidence == "status "[0-9]* ]] ||
      fail "a refused i386 probe left no status in its evidence: '$probe_evidence'"
    [[ $probe_evidence == *": "?* ]] ||
      fail "a refused i386 probe left no message in its evidence: '$probe_evidence'"
  fi
}

# --- running commands ---------------------------------------------------------------

check_ends_with() {
  ends_with 3 bash -c 'exit 3' || fail "a command ending with the expected status counted as failed"
  if ends_with 0 bash -c 'printf "one\ntwo\nthree\nfour\n"; exit 5'; then
    fail "a command ending with 5 counted as ending with 0"
  fi
  [[ $probe_evidence == "status 5: two three four" ]] ||
    fail "the evidence is '$probe_evidence', not the status and the last three lines"
  if ends_with 0 "$work/no-such-program"; then
    fail "a missing program counted as run"
  fi
  [[ $probe_evidence == "status 127"* ]] || fail "a missing program gave the evidence '$probe_evidence'"
}

# Wine leaves its server running after a program ends; a run whose output
# went through a pipe would wait for it.
check_ends_with_does_not_wait_for_children() {
  local started=$SECONDS
  ends_with 0 bash -c 'sleep 30 & exit 0' || fail "a command that left a child behind counted as failed"
  ((SECONDS - started < 20)) || fail "ends_with waited for a child the command left running"
}

# --- Windows probes -----------------------------------------------------------------

check_windows_probes() {
  local target format probe
  for target in win32 win64; do
    case $target in
      win32) format=pei-i386 ;;
      win64) format=pei-x86-64 ;;
    esac
    probe=$(make_windows_probe "$target" "$work") || { fail "the $target probe could not be made"; continue; }
    objdump -f "$probe" | grep -q "file format $format\$" || fail "the $target probe is not $format"
  done
  if make_windows_probe win16 "$work" 2>/dev/null; then
    fail "a probe was made for the unknown target win16"
  fi
}

# --- Wine's layout -------------------------------------------------------------------

check_wine32_half_missing() {
  local folder=$work/wine-layout
  mkdir -p "$folder"
  if wine32_half_missing "$folder"; then
    fail "a folder without Wine's loaders counted as Debian's layout without wine32"
  fi
  touch "$folder/wine64" && chmod +x "$folder/wine64"
  wine32_half_missing "$folder" || fail "a 64-bit loader alone did not count as wine32 missing"
  touch "$folder/wine" && chmod +x "$folder/wine"
  if wine32_half_missing "$folder"; then
    fail "both loaders present counted as wine32 missing"
  fi
}

check_i386_probe_is_static_i386
check_i386_verdict_has_evidence
check_wine32_half_missing
check_ends_with
check_ends_with_does_not_wait_for_children
check_windows_probes

if ((failures)); then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "wine capability probes: every check passed"
