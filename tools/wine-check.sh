#!/usr/bin/env bash
# Runs the cross-built Windows deliverables under Wine, in a Wine prefix
# made fresh under /tmp and an X server of its own (Xvfb):
#  - lwhost.exe of each target loads that target's velmora.dll, exports the
#    example scene with a COL file embedded, and writes exactly the bytes the
#    Linux build writes;
#  - the module's file handling opens the paths the host hands over, in the
#    ANSI code page or UTF-8, under exactly their names;
#  - brasko.exe of each target, its dialogs answered by typed paths
#    (xdotool), extracts that COL file byte for byte and shows "Success!";
#    cancelling its first dialog shows "Wheres my file, fool?!", cancelling
#    its second shows "I can't read shit, you fool!";
#  - maketxd.exe of each target builds the example's texture dictionary
#    from its images byte for byte as the Linux build does (see the map
#    command below for why the compressed texels may not differ);
#  - makecol.exe of each target builds the example object's COL file byte
#    for byte as the Linux build does;
#  - dffinfo.exe of each target draws the example with its dictionary
#    (--render-sheet, by day and by night) and the small object with day
#    and night colours (--render --night) to exactly the PNG bytes the
#    Linux build writes: the renderer covers pixels with integer edge
#    functions and keeps its float arithmetic unfused, in SSE2 on every
#    target;
#  - lwhost.exe --map of each target loads that target's velmora_map.dll
#    and exports the example scene, and a small object with day and night
#    colours and collision and shadow layers, to exactly the DFF and TXD
#    bytes the Linux build writes.  The TXD is compared whole: every build
#    compresses with the same code (stb_dxt, and libsquish's plain float
#    code, which Debian's own build of libsquish uses too) and the same
#    SSE2 arithmetic, so its texels may not differ either;
#  - lwhost.exe --import of each target opens that small object's DFF
#    (with its TXD and COL beside it) as a scene, objects, PNG images and
#    COL file, and lwhost.exe --load-object loads it through that target's
#    velmora_import.dll as one LWO2 object, both to exactly the files the
#    Linux build writes.
#
# Before it makes the prefix it finds out what this machine can run
# (tools/wine-capabilities.sh): where the kernel executes 32-bit x86
# programs, both targets are checked in a prefix for both; where it does
# not, the win64 checks run in a 64-bit prefix made by the 64-bit loader;
# where no Windows program runs at all, nothing runs under Wine.  Each check
# left out is named on a line of its own with the reason, and counts as no
# failure; the binary checks of both builds (tools/check-windows-binaries.sh)
# run everywhere.
#
#   tools/wine-check.sh
#
# VELMORA_LINUX_BUILD names the Linux build that writes the reference DFF
# (default build/release, configured when missing); VELMORA_JOBS sets the
# build's parallelism (default 2).  Every step is bounded in time.
set -Eeuo pipefail
trap 'echo "wine-check.sh: line $LINENO: \"$BASH_COMMAND\" failed" >&2' ERR
cd "$(dirname "$0")/.."
root=$(pwd)

jobs=${VELMORA_JOBS:-2}
linux_build=${VELMORA_LINUX_BUILD:-build/release}
step_timeout=60   # seconds for one program run or one window to appear
boot_timeout=300  # seconds for creating the Wine prefix

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# --- builds -----------------------------------------------------------------

tools/cross-build.sh win32 win64
for target in win32 win64; do
  cmake --build "build/$target" -j"$jobs" --target host_path_check import_path_check >/dev/null
done
if [[ ! -f $linux_build/CMakeCache.txt ]]; then
  cmake -S . -B "$linux_build" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$linux_build" -j"$jobs" --target lwhost velmora velmora_map velmora_import maketxd dffinfo makecol \
  >/dev/null
started=$SECONDS

# --- the sandbox: files, Wine prefix, X server --------------------------------

work=$(mktemp -d /tmp/velmora-wine-check.XXXXXX)
xvfb_pid=""
cleanup() {
  # Only what this script started: the prefix's own wineserver and its
  # programs, and this Xvfb.
  if [[ -d $work/prefix ]]; then WINEPREFIX=$work/prefix timeout 30 wineserver -k 2>/dev/null || true; fi
  if [[ -n $xvfb_pid ]]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

export WINEPREFIX=$work/prefix WINEDEBUG=-all
# No Mono or Gecko installer prompts while the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="
files=$work/files
mkdir -p "$files"

# --- what this machine can run ---------------------------------------------------

source "$root/tools/wine-capabilities.sh"

wine_loader=""    # the Wine command that runs the programs
prefix_targets=() # the targets the prefix is made for
wine_targets=()   # the targets whose programs run here

skip() {
  echo "SKIPPED: $*"
}

# The 32-bit loader (Debian's `wine`) runs both kinds of program, but only
# where the kernel executes 32-bit x86 programs; elsewhere the 64-bit loader
# alone makes a 64-bit prefix.
choose_wine_loader() {
  local i386_probe
  i386_probe=$(make_i386_probe "$work")
  if ! ends_as_probe "$i386_probe"; then
    skip "the win32 checks under Wine: this machine cannot execute 32-bit x86" \
      "programs (a static i386 program ended with $probe_evidence); the win32 binary checks ran"
  elif wine32_half_missing; then
    skip "the win32 checks under Wine: Wine's 32-bit half (Debian's wine32) is not installed;" \
      "tools/install-deps.sh windows installs it where the package indexes allow; the win32 binary checks ran"
  else
    echo "== this machine runs 32-bit x86 programs: checking win32 and win64 under Wine"
    wine_loader=wine
    prefix_targets=(win32 win64)
    return
  fi
  if ! wine_loader=$(find_wine64_loader); then
    echo "no 64-bit Wine loader (no wine64 command, no /usr/lib/wine/wine64):" \
      "tools/install-deps.sh windows installs it" >&2
    exit 1
  fi
  echo "== checking win64 under Wine in a 64-bit prefix made by $wine_loader"
  export WINEARCH=win64 WINELOADER=$wine_loader
  prefix_targets=(win64)
}

# Makes the prefix; fails with probe_evidence set when Wine cannot.
make_prefix() {
  echo "== creating a Wine prefix in $WINEPREFIX"
  ends_with 0 timeout "$boot_timeout" "$wine_loader" wineboot --init &&
    ends_with 0 timeout "$boot_timeout" wineserver -w || return 1
  # The files the programs see as drive V:, so that no path goes through Z:
  # (the whole file system).
  ln -s "$files" "$WINEPREFIX/dosdevices/v:"
}

# A target takes part when a trivial program of it runs in the prefix.
# The X server is up before the first Windows program starts: the desktop
# process that the first program of a prefix starts lives on as long as the
# prefix's wineserver does, and one started without a display leaves every
# later program unable to open a window.
choose_wine_targets() {
  local target probe
  start_x_server
  if ! make_prefix; then
    skip "every check under Wine: Wine could not make a prefix here ($probe_evidence);" \
      "the binary checks ran"
    return
  fi
  for target in "${prefix_targets[@]}"; do
    probe=$(make_windows_probe "$target" "$work")
    if ends_as_probe timeout "$step_timeout" "$wine_loader" "$probe"; then
      wine_targets+=("$target")
    else
      skip "the $target checks under Wine: a trivial $target program did not run" \
        "($probe_evidence); the $target binary checks ran"
    fi
  done
}

start_x_server() {
  local display_file=$work/display waited=0
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  until [[ -s $display_file ]]; do
    ((waited++ < step_timeout * 10)) || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
  done
  export DISPLAY=:$(head -n1 "$display_file")
}

# --- the example and its reference DFF ----------------------------------------

# The bundled example: the first scene under examples/, exported with the
# COL file beside it.
example_scene() {
  local scene
  scene=$(find "$root/examples" -name '*.lws' | sort | head -n1)
  [[ -n $scene ]] || { echo "no example scene (*.lws) under examples/" >&2; exit 1; }
  echo "$scene"
}

example_col() {
  local col
  col=$(find "$(dirname "$1")" -maxdepth 1 -name '*.col' | sort | head -n1)
  [[ -n $col ]] || { echo "no COL file beside $1" >&2; exit 1; }
  echo "$col"
}

# --- lwhost ---------------------------------------------------------------------

# A Unix path under $files as the Windows programs see it.
windows_path() {
  local relative=${1#"$files"/}
  echo "V:\\${relative//\//\\}"
}

check_lwhost() {
  local target=$1 scene=$2 col=$3 reference=$4 dff=$files/$target.dff
  echo "== $target: lwhost.exe exports $(basename "$scene")"
  if ! timeout "$step_timeout" "$wine_loader" "$root/build/$target/bin/lwhost.exe" \
      "$(windows_path "$scene")" -o "$(windows_path "$dff")" --col "$(windows_path "$col")"; then
    fail "$target lwhost.exe did not export the example"
    return
  fi
  cmp "$reference" "$dff" || fail "$target wrote a DFF that differs from the Linux build's"
}

# Paths from the host in the ANSI code page and in UTF-8 reach the file
# of that name (tests/windows/host_path_check.cpp).
check_host_paths() {
  local target=$1 folder=$files/$target-paths
  echo "== $target: host paths in both encodings"
  mkdir -p "$folder"
  timeout "$step_timeout" "$wine_loader" "$root/build/$target/bin/host_path_check.exe" \
    "$(windows_path "$folder")" || fail "$target host paths"
}

# The dictionary listing without what depends on the texels.
dictionary_listing() {
  "$linux_build/bin/dffinfo" "$1" | grep -E '^(  texture|    raster|TextureDictionary|texture dictionary)'
}

check_maketxd() {
  local target=$1 dff=$2 reference=$3 txd=$files/$target.txd
  echo "== $target: maketxd.exe builds the example's texture dictionary"
  if ! timeout "$step_timeout" "$wine_loader" "$root/build/$target/bin/maketxd.exe" \
      "$(windows_path "$dff")" -o "$(windows_path "$txd")" \
      --images "$(windows_path "$files/example/images")"; then
    fail "$target maketxd.exe did not build the example's dictionary"
    return
  fi
  "$linux_build/bin/dffinfo" --quiet "$txd" || fail "$target maketxd.exe wrote a damaged dictionary"
  if [[ "$(dictionary_listing "$txd")" != "$(dictionary_listing "$reference")" ]]; then
    fail "$target maketxd.exe wrote other textures than the Linux build"
  elif ! cmp -s "$txd" "$reference"; then
    fail "$target maketxd.exe compressed the example's textures otherwise than the Linux build"
  fi
}

check_makecol() {
  local target=$1 object=$2 reference=$3 col=$files/$target-made.col
  echo "== $target: makecol.exe builds the example object's COL file"
  if ! timeout "$step_timeout" "$wine_loader" "$root/build/$target/bin/makecol.exe" \
      "$(windows_path "$object")" -o "$(windows_path "$col")" >/dev/null 2>&1; then
    fail "$target makecol.exe did not build the example's COL file"
    return
  fi
  cmp -s "$col" "$reference" || fail "$target makecol.exe wrote other bytes than the Linux build"
}

# A PNG that dffinfo.exe draws with `arguments` (Windows paths) against the
# Linux build's `reference`.
check_render() {
  local target=$1 reference=$2 what=$3
  shift 3
  local image=$files/$target-$(basename "$reference")
  echo "== $target: dffinfo.exe draws $what"
  if ! timeout "$step_timeout" "$wine_loader" "$root/build/$target/bin/dffinfo.exe" "$@" \
      "$(windows_path "$image")" >/dev/null 2>&1; then
    fail "$target dffinfo.exe did not draw $what"
    return
  fi
  cmp -s "$image" "$reference" || fail "$target dffinfo.exe drew $what otherwise than the Linux build"
}

# The map command's DFF and the TXD beside it, written by lwhost.exe --map
# from `input` under the name `name`, against the Linux build's files of
# that name in $files/linux-map.
check_map_export() {
  local target=$1 input=$2 name=$3 reference=$files/linux-map/$3 folder=$files/$target-map
  echo "== $target: lwhost.exe --map exports $(basename "$input")"
  mkdir -p "$folder"
  if ! timeout "$step_timeout" "$wine_loader" "$root/build/$target/bin/lwhost.exe" --map \
      "$(windows_path "$input")" -o "$(windows_path "$folder/$name.dff")" >"$work/$target-map.log" 2>&1; then
    fail "$target lwhost.exe --map did not export $(basename "$input"): $(tail -c 300 "$work/$target-map.log")"
    return
  fi
  cmp "$reference.dff" "$folder/$name.dff" ||
    fail "$target lwhost.exe --map wrote a DFF of $(basename "$input") that differs from the Linux build's"
  if ! cmp "$reference.txd" "$folder/$name.txd"; then
    if [[ "$(dictionary_listing "$reference.txd")" != "$(dictionary_listing "$folder/$name.txd")" ]]; then
      fail "$target lwhost.exe --map wrote other textures for $(basename "$input") than the Linux build"
    else
      fail "$target lwhost.exe --map compressed the textures of $(basename "$input") otherwise than the Linux build"
    fi
  fi
}

# The import of the map command's DFF `dff`: lwhost.exe --import's folder
# and lwhost.exe --load-object's object, against the Linux build's in
# $files/linux-import.
check_import() {
  local target=$1 dff=$2 reference=$files/linux-import folder=$files/$target-import
  echo "== $target: lwhost.exe --import and --load-object open $(basename "$dff")"
  mkdir -p "$folder"
  if ! timeout "$step_timeout" "$wine_loader" "$root/build/$target/bin/lwhost.exe" --import \
      "$(windows_path "$dff")" -o "$(windows_path "$folder/scene")" >"$work/$target-import.log" 2>&1; then
    fail "$target lwhost.exe --import did not open $(basename "$dff"): $(tail -c 300 "$work/$target-import.log")"
  elif ! diff -r "$reference/scene" "$folder/scene" >/dev/null; then
    fail "$target lwhost.exe --import wrote other files than the Linux build:" \
      "$(diff -rq "$reference/scene" "$folder/scene" | head -n 3)"
  fi
  if ! timeout "$step_timeout" "$wine_loader" "$root/build/$target/bin/lwhost.exe" --load-object \
      "$(windows_path "$dff")" -o "$(windows_path "$folder/object.lwo")" >"$work/$target-load.log" 2>&1; then
    fail "$target lwhost.exe --load-object did not load $(basename "$dff"): $(tail -c 300 "$work/$target-load.log")"
  elif ! cmp -s "$reference/object.lwo" "$folder/object.lwo"; then
    fail "$target lwhost.exe --load-object wrote another object than the Linux build"
  fi
}

# A model under names outside the code page, opened through the import's
# UTF-8 paths (tests/windows/import_path_check.cpp).
check_import_paths() {
  local target=$1 dff=$2 folder=$files/$target-import-paths
  echo "== $target: the import opens a model named outside the code page"
  mkdir -p "$folder"
  timeout "$step_timeout" "$wine_loader" "$root/build/$target/bin/import_path_check.exe" \
    "$(windows_path "$folder")" "$(windows_path "$dff")" || fail "$target import paths"
}

# --- brasko -------------------------------------------------------------------

# The id of the first visible window whose title matches, once it has
# appeared and stayed: a dialog that is still being set up may be replaced
# by another window of the same title, or miss keys typed too early.
wait_for_window() {
  local title=$1 window="" settled="" waited=0
  while [[ -z $window || $window != "$settled" ]]; do
    ((waited++ < step_timeout * 4)) || { echo ""; return 0; }
    settled=$window
    sleep 0.25
    window=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n1 || true)
  done
  echo "$window"
}

wait_until_gone() {
  local window=$1 waited=0
  while xdotool search --onlyvisible --name '.' 2>/dev/null | grep -qx "$window"; do
    ((waited++ < step_timeout * 10)) || return 1
    sleep 0.1
  done
}

# The titles of the windows on screen, for failure messages.
visible_windows() {
  local window titles=()
  for window in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    titles+=("'$(xdotool getwindowname "$window" 2>/dev/null)'")
  done
  echo "${titles[*]:-none}"
}

# Types `text` into the dialog titled `title` (the common dialogs' own
# title, "Open", as brasko sets none), then presses a key.
answer_dialog() {
  local title=$1 text=$2 key=$3 window
  window=$(wait_for_window "^$title\$")
  if [[ -z $window ]]; then
    fail "no '$title' dialog appeared (on screen: $(visible_windows); $(brasko_state))"
    return 1
  fi
  xdotool windowfocus --sync "$window"
  [[ -z $text ]] || xdotool type --delay 5 "$text"
  xdotool key "$key"
  wait_until_gone "$window" || { fail "the '$title' dialog did not close"; return 1; }
}

# Dismisses the message box captioned `caption`, and checks that it showed
# `text` (Wine traces each box's text on its msgbox channel).
expect_message_box() {
  local caption=$1 text=$2 log=$3 window
  window=$(wait_for_window "^$caption\$")
  if [[ -z $window ]]; then
    fail "no message box captioned '$caption' appeared (on screen: $(visible_windows); $(brasko_state))"
    return 1
  fi
  xdotool windowfocus --sync "$window"
  xdotool key Return
  wait_until_gone "$window" || { fail "the '$caption' box did not close"; return 1; }
  grep -qF "MSGBOX_OnInit L\"$text\"" "$log" || { fail "the '$caption' box did not say '$text'"; return 1; }
}

# Starts brasko.exe in the background; its msgbox trace, and Wine's
# diagnoses of why a window could not be made, go to `log`.
start_brasko() {
  local target=$1 log=$2
  WINEDEBUG=-all,err+winediag,+msgbox timeout "$step_timeout" "$wine_loader" "$root/build/$target/bin/brasko.exe" \
    >/dev/null 2>"$log" &
  brasko_pid=$! brasko_log=$log
}

# Whether the brasko.exe started last still runs, and what Wine printed,
# for the message of a window that did not appear.
brasko_state() {
  local state status=0
  if kill -0 "$brasko_pid" 2>/dev/null; then
    state="brasko.exe still runs"
  else
    wait "$brasko_pid" || status=$?
    state="brasko.exe has ended with status $status"
  fi
  echo "$state; Wine said: $(tail -c 300 "$brasko_log")"
}

expect_exit_status() {
  local expected=$1 what=$2 status=0
  wait "$brasko_pid" || status=$?
  ((status == expected)) || { fail "$what: brasko.exe ended with $status, not $expected"; return 1; }
}

# Ends a brasko.exe that a failed step left waiting on a window.
stop_brasko() {
  kill "$brasko_pid" 2>/dev/null || true
  wait "$brasko_pid" 2>/dev/null || true
}

check_brasko_extracts() {
  local target=$1 dff=$2 embedded=$3 col=$files/$target.col log=$work/$target-extract.log
  echo "== $target: brasko.exe extracts the COL file of $(basename "$dff")"
  start_brasko "$target" "$log"
  answer_dialog Open "$(windows_path "$dff")" Return &&
    answer_dialog Open "$(windows_path "$col")" Return &&
    expect_message_box "Success!" "COL file written" "$log" &&
    expect_exit_status 0 "$target extraction" || { stop_brasko; return 0; }
  cmp "$embedded" "$col" || fail "$target brasko.exe wrote a COL file that differs from the embedded one"
}

check_brasko_cancels() {
  local target=$1 dff=$2 log
  echo "== $target: brasko.exe after a cancelled input dialog"
  log=$work/$target-cancel-input.log
  start_brasko "$target" "$log"
  answer_dialog Open "" Escape &&
    expect_message_box "Error, fool!" "Wheres my file, fool?!" "$log" &&
    expect_exit_status 1 "$target cancelled input" || stop_brasko

  echo "== $target: brasko.exe after a cancelled output dialog"
  log=$work/$target-cancel-output.log
  start_brasko "$target" "$log"
  answer_dialog Open "$(windows_path "$dff")" Return &&
    answer_dialog Open "" Escape &&
    expect_message_box "Error, fool!" "I can't read shit, you fool!" "$log" &&
    expect_exit_status 1 "$target cancelled output" || stop_brasko
}

# --- run ------------------------------------------------------------------------

source_scene=$(example_scene)
source_col=$(example_col "$source_scene")
# The example's folder as the programs see it, so that the scene finds its
# objects the same way on both systems.
cp -r "$(dirname "$source_scene")" "$files/example"
scene=$files/example/$(basename "$source_scene")
col=$files/example/$(basename "$source_col")
reference=$files/linux.dff
"$linux_build/bin/lwhost" "$scene" -o "$reference" --col "$col" >/dev/null
# The example's images, for the reference dictionary of maketxd.
cp "$reference" "$files/example/linux.dff"
reference_txd=$files/linux.txd
"$linux_build/bin/maketxd" "$files/example/linux.dff" -o "$reference_txd" --images "$files/example/images" >/dev/null
object=$files/example/$(basename "${source_scene%.*}").lwo
reference_made_col=$files/linux-made.col
"$linux_build/bin/makecol" "$object" -o "$reference_made_col" >/dev/null 2>&1

# The map command's references: the example scene, and an object with day
# and night colour maps and collision and shadow layers (the map fuzzer's
# seed).
colored_object=$files/lamp.lwo
cp "$root/fuzz/corpus/map_export/lamp.lwo" "$colored_object"
mkdir -p "$files/linux-map"
"$linux_build/bin/lwhost" --map "$scene" -o "$files/linux-map/scene.dff" >/dev/null 2>&1
"$linux_build/bin/lwhost" --map "$colored_object" -o "$files/linux-map/colored.dff" >/dev/null 2>&1

# The import's references, from the coloured object's DFF with its TXD and
# COL beside it.
mkdir -p "$files/linux-import"
"$linux_build/bin/lwhost" --import "$files/linux-map/colored.dff" -o "$files/linux-import/scene" >/dev/null 2>&1
"$linux_build/bin/lwhost" --load-object "$files/linux-map/colored.dff" -o "$files/linux-import/object.lwo" \
  >/dev/null 2>&1

# The renderer's references: the example with its dictionary, and the
# object with day and night colours by night.
"$linux_build/bin/dffinfo" "$files/example/linux.dff" --txd "$reference_txd" --size 128 \
  --render-sheet "$files/example-sheet.png" >/dev/null
"$linux_build/bin/dffinfo" "$files/linux-map/colored.dff" --txd "$files/linux-map/colored.txd" --night \
  --view three-quarter --size 256 --render "$files/colored-night.png" >/dev/null

choose_wine_loader
choose_wine_targets
for target in "${wine_targets[@]}"; do
  check_lwhost "$target" "$scene" "$col" "$reference"
  check_host_paths "$target"
  if [[ -f $files/$target.dff ]]; then
    check_brasko_extracts "$target" "$files/$target.dff" "$col"
  fi
  check_brasko_cancels "$target" "$reference"
  check_maketxd "$target" "$files/example/linux.dff" "$reference_txd"
  check_makecol "$target" "$object" "$reference_made_col"
  check_map_export "$target" "$scene" scene
  check_map_export "$target" "$colored_object" colored
  check_import "$target" "$files/linux-map/colored.dff"
  check_import_paths "$target" "$files/linux-map/colored.dff"
  check_render "$target" "$files/example-sheet.png" "the example's sheet" \
    "$(windows_path "$files/example/linux.dff")" --txd "$(windows_path "$reference_txd")" --size 128 --render-sheet
  check_render "$target" "$files/colored-night.png" "the coloured object by night" \
    "$(windows_path "$files/linux-map/colored.dff")" --txd "$(windows_path "$files/linux-map/colored.txd")" \
    --night --view three-quarter --size 256 --render
done

echo "== wine checks took $((SECONDS - started)) s after the builds"
if ((failures)); then
  echo "$failures wine check(s) failed" >&2
  exit 1
fi
if ((${#wine_targets[@]} == 0)); then
  echo "no Windows program can run under Wine here: only the binary checks ran"
elif ((${#wine_targets[@]} < 2)); then
  echo "all wine checks that this machine can run passed (${wine_targets[*]} only)"
else
  echo "all wine checks passed"
fi
