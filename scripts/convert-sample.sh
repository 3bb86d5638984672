#!/usr/bin/env bash
# Converts the sample picture with the command-line converter, for machines without
# a display: scripts/convert-sample.sh [BUILD_DIR [OUTPUT_DIR]]
# BUILD_DIR defaults to build/, OUTPUT_DIR to out/ (both in the repository); extra
# converter options may follow the two folders.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=${2:-$root/out}
shift $(($# > 2 ? 2 : $#))

converter=$build/tools/zarvik-convert
if [[ ! -x $converter ]]; then
  echo "convert-sample: no converter at $converter; build first (scripts/build.sh)" >&2
  exit 1
fi
mkdir -p "$out"
anaglyph=$out/sample-anaglyph.bmp
"$converter" "$@" --depth-map "$out/sample-depth.png" --second-view "$out/sample-second-view.png" \
  "$root/samples/sample.png" "$anaglyph"
echo "Anaglyph of samples/sample.png written to $anaglyph"
echo "(depth map: $out/sample-depth.png, second view: $out/sample-second-view.png)"
