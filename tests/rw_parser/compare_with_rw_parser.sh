#!/usr/bin/env bash
# Exports the bundled example and a few of assimp-testmodels' LightWave
# files through lwhost and the real modules (the map module for objects with
# colour maps, and for the example with lamps, which carries 2d effects), and has npm's rw-parser, a DFF reader none of us wrote, read
# each export: its vertex, triangle, UV-set and material counts and its day
# colours per geometry must be dffinfo's.
#
#   compare_with_rw_parser.sh BIN_DIR EXAMPLE_DIR RW_PARSER_DIR
#
# Exit status 77 (skipped) when node or rw-parser is missing:
# tools/install-deps.sh tests installs both.
set -euo pipefail

bin=$1
example=$2
rw_parser=$3
here=$(dirname "$0")
models=/usr/share/assimp/models

if ! command -v node >/dev/null; then
  echo "skipped: node is not installed (tools/install-deps.sh tests installs it)"
  exit 77
fi
if [[ ! -f $rw_parser/package.json ]]; then
  echo "skipped: rw-parser is not installed in $rw_parser (tools/install-deps.sh tests installs it)"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Input, then the COL answer for lwhost, or --map for the map command.
exports=("$example/buggy.lws" "--col=$example/buggy.col")
for sample in LWO/LWO2/UglyVertexColors.lwo LWO/LWO2/box_2uv_1unused.lwo LWO/LWO2/uvtest.lwo \
              LWO/LWO2/hierarchy.lwo LWS/move_x.lws; do
  if [[ -f $models/$sample ]]; then
    exports+=("$models/$sample" --no-col)
  else
    echo "note: $models/$sample is not installed (assimp-testmodels); left out"
  fi
done
for sample in LWO/LWO2/UglyVertexColors.lwo LWO/LWO2/box_2vc_1unused.lwo; do
  [[ -f $models/$sample ]] && exports+=("$models/$sample" --map)
done
# The example with six lamps hung on it: a map object with 2d effects.
exports+=("$here/lamps_on_buggy.lws" --map)

status=0
for ((i = 0; i < ${#exports[@]}; i += 2)); do
  input=${exports[i]}
  dff=$work/$i.dff
  "$bin/lwhost" "$input" -o "$dff" "${exports[i + 1]}" </dev/null >/dev/null
  "$bin/dffinfo" --json "$dff" >"$work/$i.json" || {
    echo "$input: dffinfo finds the export damaged"
    status=1
  }
  node "$here/compare_counts.js" "$rw_parser" "$dff" "$work/$i.json" "$input" || status=1
done
exit $status
