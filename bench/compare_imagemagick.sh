#!/usr/bin/env bash
# zarvik-convert against a comparable ImageMagick chain on one 12-megapixel JPEG,
# both timed in the same run, plus the converter's peak memory per pixel.
#   bench/compare_imagemagick.sh [BUILD_DIR] [PHOTO.jpg]
# Without a photo, a 4000 x 3000 photo-like JPEG is made once with ImageMagick.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
photo=${2:-}
"$root/scripts/setup.sh" imagemagick time >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [[ -z $photo ]]; then
  photo=$work/photo.jpg
  # Plasma fractal noise has the smooth gradients and fine detail of a photograph.
  convert -seed 7 -size 4000x3000 plasma:fractal -blur 0x2 -quality 90 "$photo"
fi
pixels=$(identify -format '%w %h' "$photo" | awk '{print $1 * $2}')

# Grey depth from the channel mean, negated; the second view displaced by the depth;
# the two views joined as a red/cyan stereo pair.
imagemagick_chain() {
  convert "$photo" -grayscale Average -negate "$work/depth.png"
  composite -displace 3x0 "$work/depth.png" "$photo" "$work/second.png"
  composite -stereo +0+0 "$photo" "$work/second.png" "$work/im-anaglyph.bmp"
}

seconds() { # runs "$@" and prints its wall time in seconds
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN {print b - a}'
}

runs=${RUNS:-3}
best_zarvik=999999
best_magick=999999
for ((i = 0; i < runs; ++i)); do
  z=$(seconds "$build/tools/zarvik-convert" "$photo" "$work/zarvik-anaglyph.bmp")
  m=$(seconds imagemagick_chain)
  best_zarvik=$(awk -v a="$z" -v b="$best_zarvik" 'BEGIN {print (a < b ? a : b)}')
  best_magick=$(awk -v a="$m" -v b="$best_magick" 'BEGIN {print (a < b ? a : b)}')
done
/usr/bin/time -v "$build/tools/zarvik-convert" "$photo" "$work/zarvik-anaglyph.bmp" 2>"$work/time.txt"
peak_kb=$(awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}' "$work/time.txt")

printf 'picture: %s pixels\n' "$pixels"
printf 'zarvik-convert: %.2f s (best of %d)\n' "$best_zarvik" "$runs"
printf 'ImageMagick chain: %.2f s (best of %d)\n' "$best_magick" "$runs"
awk -v m="$best_magick" -v z="$best_zarvik" 'BEGIN {printf "speed-up: %.1fx\n", m / z}'
awk -v kb="$peak_kb" -v px="$pixels" \
  'BEGIN {printf "zarvik-convert peak memory: %d MB, %.1f bytes per pixel\n", kb / 1024, kb * 1024 / px}'
