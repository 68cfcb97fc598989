# shellcheck shell=bash
# What this machine can run, found out by running a tiny program and looking
# at how it ended, never guessed from architecture or package names: Debian
# installs the 32-bit Wine loader even where the kernel cannot execute it,
# and kernels of the same architecture differ in whether they run 32-bit
# x86 programs at all.
#
# Sourced by tools/wine-check.sh and its test.  A probe that succeeds means
# the capability is there; one that fails leaves what it saw in
# $probe_evidence, for the line that says what was skipped and why.  Making
# a probe program is another matter: when that fails, the set-up is broken,
# and the caller fails.

probe_status=42 # every probe program ends with this status
probe_evidence=""

# A static 32-bit x86 Linux program that ends with the probe status through
# the kernel's 32-bit system call gate.  It needs no 32-bit library, so how
# it ends shows what the kernel can execute and nothing else.  Prints its
# path.
make_i386_probe() {
  local program=$1/exit-i386
  printf '.globl _start\n_start:\n movl $1, %%eax\n movl $%d, %%ebx\n int $0x80\n' "$probe_status" \
    >"$program.s"
  as --32 -o "$program.o" "$program.s" || return 1
  ld -m elf_i386 -o "$program" "$program.o" || return 1
  echo "$program"
}

# A Windows console program of `target` (win32 or win64) that ends with the
# probe status and does nothing else.  Prints its path.
make_windows_probe() {
  local target=$1 folder=$2 compiler program
  case $target in
    win32) compiler=i686-w64-mingw32-gcc ;;
    win64) compiler=x86_64-w64-mingw32-gcc ;;
    *) echo "make_windows_probe: unknown target '$target'" >&2; return 1 ;;
  esac
  program=$folder/exit-$target
  printf 'int main(void) { return %d; }\n' "$probe_status" >"$program.c"
  "$compiler" -o "$program.exe" "$program.c" || return 1
  echo "$program.exe"
}

# Runs `command...` and succeeds when it ends with `status`; otherwise
# probe_evidence holds the status it ended with and the last lines it
# printed.  The output goes to a file, not a pipe: Wine leaves processes
# behind that would keep a pipe open.
ends_with() {
  local expected=$1 log status=0
  shift
  log=$(mktemp)
  "$@" >"$log" 2>&1 || status=$?
  probe_evidence="status $status"
  if [[ -s $log ]]; then
    probe_evidence+=": $(tail -n 3 "$log" | tr -s '\n' ' ' | sed 's/ $//')"
  fi
  rm -f "$log"
  ((status == expected))
}

# Runs a probe program (or a loader with one): succeeds when it ends with
# the probe status.
ends_as_probe() {
  ends_with "$probe_status" "$@"
}

# Whether Wine's 32-bit half is missing from Debian's layout, which keeps
# both loaders in one folder (/usr/lib/wine by default): the 64-bit one is
# there and the 32-bit one (package wine32) is not.  Its `wine` command then
# quietly runs the 64-bit loader, in which no 32-bit program starts.  Other
# layouts are left to the probes.
wine32_half_missing() {
  local folder=${1:-/usr/lib/wine}
  [[ -x $folder/wine64 && ! -x $folder/wine ]]
}

# The 64-bit Wine loader: a wine64 command where the Wine packages install
# one, otherwise the loader itself where Debian keeps it.
find_wine64_loader() {
  local loader
  for loader in "$(command -v wine64 || true)" /usr/lib/wine/wine64; do
    if [[ -n $loader && -x $loader ]]; then
      echo "$loader"
      return 0
    fi
  done
  return 1
}
