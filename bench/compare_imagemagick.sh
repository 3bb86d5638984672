#!/usr/bin/env bash
# zarvik-convert against ImageMagick on one 12-megapixel JPEG, each pair timed in the
# same run (medians of RUNS, default 3), plus the converter's own ratios (8-bit
# display against 32-bit, a batch with 2 jobs against 1) and its peak memory per
# pixel at 12 and 48 megapixels.
#   bench/compare_imagemagick.sh [BUILD_DIR] [PHOTO.jpg]
# Without a photo, a 4000 x 3000 photo-like JPEG is made once with ImageMagick.
# ImageMagick is called by its real program names (convert-im6.q16, ...), never
# through whatever else answers to "convert" on the PATH.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
photo=${2:-}
"$root/scripts/setup.sh" imagemagick time >/dev/null
im_convert=/usr/bin/convert-im6.q16
im_composite=/usr/bin/composite-im6.q16
im_identify=/usr/bin/identify-im6.q16
zarvik=$build/tools/zarvik-convert
work=$(mktemp -d)
trap 'rm -rf "$work" "${ram:-}"' EXIT

if [[ -z $photo ]]; then
  photo=$work/photo.jpg
  # Plasma fractal noise has the smooth gradients and fine detail of a photograph.
  "$im_convert" -seed 7 -size 4000x3000 plasma:fractal -blur 0x2 -quality 90 "$photo"
fi
pixels=$("$im_identify" -format '%w %h' "$photo" | awk '{print $1 * $2}')

# Grey depth from the channel mean, negated; the second view displaced by the depth;
# the two views joined as a red/cyan stereo pair.
imagemagick_chain() {
  "$im_convert" "$photo" -grayscale Average -negate "$work/depth.png"
  "$im_composite" -displace 3x0 "$work/depth.png" "$photo" "$work/second.png"
  "$im_composite" -stereo +0+0 "$photo" "$work/second.png" "$work/im-anaglyph.bmp"
}

seconds() { # runs "$@" and prints its wall time in seconds
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN {print b - a}'
}
median() { sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

runs=${RUNS:-3}
# Times both commands RUNS times, alternating, and prints "median_a median_b".
pair() {
  local a=() b=() i
  for ((i = 0; i < runs; ++i)); do
    a+=("$(seconds bash -c "$1")")
    b+=("$(seconds bash -c "$2")")
  done
  printf '%s %s\n' "$(printf '%s\n' "${a[@]}" | median)" "$(printf '%s\n' "${b[@]}" | median)"
}
report() { # name, ours, theirs, their name
  awk -v n="$1" -v z="$2" -v m="$3" -v t="$4" \
    'BEGIN {printf "%-26s zarvik-convert %.2f s, %s %.2f s: %.1fx\n", n, z, t, m, m / z}'
}
export -f imagemagick_chain
export photo work im_convert im_composite zarvik

printf 'picture: %s pixels; %s cores (%s)\n' "$pixels" "$(nproc)" \
  "$(lscpu | awk -F: '/Model name/ {gsub(/^ +/, "", $2); print $2; exit}')"
read -r z m < <(pair '"$zarvik" "$photo" "$work/z.bmp"' imagemagick_chain)
report "JPEG -> anaglyph BMP:" "$z" "$m" "ImageMagick chain"
read -r z m < <(pair '"$zarvik" "$photo" "$work/z.png"' '"$im_convert" "$photo" "$work/m.png"')
report "JPEG -> anaglyph PNG:" "$z" "$m" "ImageMagick plain JPEG -> PNG"
read -r z m < <(pair '"$zarvik" "$photo" "$work/z.jpg"' '"$im_convert" "$photo" "$work/m.jpg"')
report "JPEG -> anaglyph JPEG:" "$z" "$m" "ImageMagick plain JPEG -> JPEG"
printf '%-26s PNG %d KB (ImageMagick %d KB), JPEG %d KB (ImageMagick %d KB)\n' "file sizes:" \
  $(($(stat -c %s "$work/z.png") / 1024)) $(($(stat -c %s "$work/m.png") / 1024)) \
  $(($(stat -c %s "$work/z.jpg") / 1024)) $(($(stat -c %s "$work/m.jpg") / 1024))
read -r eight full < <(pair '"$zarvik" --display-bpp 8 "$photo" "$work/z8.bmp"' \
  '"$zarvik" "$photo" "$work/z.bmp"')
awk -v e="$eight" -v f="$full" \
  'BEGIN {printf "%-26s %.2f s against %.2f s at 32 bits: %.2fx\n", "--display-bpp 8:", e, f, e / f}'
# The same written to a RAM disk: the 32-bit file is four times as large, and the time
# a disk takes to store it would otherwise count as conversion.
if [[ -d /dev/shm && -w /dev/shm ]]; then
  ram=$(mktemp -d /dev/shm/zarvik-compare.XXXXXX)
  read -r eight full < <(pair '"$zarvik" --display-bpp 8 "$photo" "'"$ram"'/z8.bmp"' \
    '"$zarvik" "$photo" "'"$ram"'/z.bmp"')
  rm -rf "$ram"
  awk -v e="$eight" -v f="$full" \
    'BEGIN {printf "%-26s %.2f s against %.2f s at 32 bits: %.2fx\n", "  the same to a RAM disk:", e, f, e / f}'
fi

peak() { # prints the converter's peak memory in bytes per pixel for "$1" pixels
  /usr/bin/time -v "$zarvik" "$2" "$work/peak.bmp" 2>"$work/time.txt" >/dev/null
  awk -F: -v px="$1" '/Maximum resident set size/ {gsub(/ /, "", $2);
    printf "%d MB, %.1f bytes per pixel", $2 / 1024, $2 * 1024 / px}' "$work/time.txt"
}
printf '%-26s %s\n' "peak memory, 12 MP:" "$(peak "$pixels" "$photo")"
if [[ ${BIG:-1} == 1 ]]; then
  "$im_convert" "$photo" -resize 200% -quality 90 "$work/big.jpg"
  big=$("$im_identify" -format '%w %h' "$work/big.jpg" | awk '{print $1 * $2}')
  printf '%-26s %s\n' "peak memory, 48 MP:" "$(peak "$big" "$work/big.jpg")"
fi

if [[ ${BATCH:-1} == 1 ]]; then
  mkdir -p "$work/batch"
  "$im_convert" "$photo" -resize 1155x866! -quality 90 "$work/one-mp.jpg"
  for i in $(seq -w 1 100); do cp "$work/one-mp.jpg" "$work/batch/p$i.jpg"; done
  read -r one two < <(pair '"$zarvik" -j 1 --output-dir "$work/out1" "$work"/batch/*.jpg' \
    '"$zarvik" -j 2 --output-dir "$work/out2" "$work"/batch/*.jpg')
  awk -v a="$one" -v b="$two" \
    'BEGIN {printf "%-26s -j 1 %.2f s, -j 2 %.2f s: %.2fx\n", "100 pictures of 1 MP:", a, b, a / b}'
fi
