#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks the tree as a desktop and a
# user meet it: every file in place, the desktop entry and the metainfo accepted by
# their validators, the manual pages and the shell completion naming every option
# the installed converter's --help names, and one version throughout.
#   scripts/check-install.sh BUILD_DIR VERSION
set -euo pipefail
build=${1:?usage: check-install.sh BUILD_DIR VERSION}
version=${2:?usage: check-install.sh BUILD_DIR VERSION}
app_id=org.zarvik.Zarvik
source=$(cd "$(dirname "$0")/.." && pwd)

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

failures=0
passes=0
check() {  # check NAME COMMAND...: runs the command, reports it by name
  local name=$1
  shift
  local output
  if output=$("$@" 2>&1); then
    passes=$((passes + 1))
    echo "ok      $name"
  else
    failures=$((failures + 1))
    echo "FAILED  $name"
    [[ -z $output ]] || sed 's/^/        /' <<<"$output"
  fi
}

# Width and height from a PNG's header, as "WxH".
png_size() {
  local -a b
  read -r -a b < <(od -An -tu1 -j16 -N8 "$1")
  echo "$(((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3]))x$(((b[4] << 24) | (b[5] << 16) | (b[6] << 8) | b[7]))"
}

has_files() {
  local missing=0 f
  for f in "$@"; do
    [[ -s $prefix/$f ]] || { echo "missing: $f"; missing=1; }
  done
  return $missing
}

icons_have_their_sizes() {
  local size f bad=0
  for size in 16 24 32 48 64 128 256; do
    f=$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    if [[ ! -s $f ]]; then
      echo "missing: ${f#"$prefix/"}"
      bad=1
    elif [[ $(png_size "$f") != "${size}x${size}" ]]; then
      echo "${f#"$prefix/"} is $(png_size "$f")"
      bad=1
    fi
  done
  return $bad
}

programs_run() {
  [[ -x $prefix/bin/zarvik && -x $prefix/bin/zarvik-convert ]] || {
    echo "the programs are not executable in bin/"
    return 1
  }
  local said
  said=$("$prefix/bin/zarvik-convert" --version)
  [[ $said == "zarvik-convert $version" ]] || {
    echo "installed zarvik-convert --version says '$said', the project is $version"
    return 1
  }
}

# The release list, the manual pages and the package are made from one version.
metainfo_and_pages_agree() {
  local newest
  newest=$(grep -o -m1 '<release version="[^"]*"' "$prefix/share/metainfo/$app_id.metainfo.xml")
  [[ $newest == "<release version=\"$version\"" ]] || {
    echo "newest metainfo release: $newest, the project is $version"
    return 1
  }
  local page
  for page in zarvik zarvik-convert; do
    zcat "$prefix/share/man/man1/$page.1.gz" | grep -q "^\.TH .*\"Zarvik $version\"" ||
      { echo "$page.1 does not carry version $version"; return 1; }
  done
}

desktop_entry_points_at_the_tree() {
  local entry=$prefix/share/applications/$app_id.desktop
  grep -qx "Exec=zarvik %F" "$entry" || { echo "Exec is not 'zarvik %F'"; return 1; }
  grep -qx "Icon=$app_id" "$entry" || { echo "Icon is not $app_id"; return 1; }
  local type
  for type in image/jpeg image/png image/bmp image/gif image/tiff image/webp; do
    grep -q "^MimeType=.*$type;" "$entry" || { echo "MimeType lacks $type"; return 1; }
  done
}

help_options() {
  "$prefix/bin/zarvik-convert" --help | grep -o -E -- '--[a-z][a-z-]*' | sort -u
}

# A page or completion that lags behind --help hides an option from the user.
page_names_every_option() {
  local text missing=0 option
  text=$(zcat "$prefix/share/man/man1/zarvik-convert.1.gz" | sed 's/\\-/-/g')
  while read -r option; do
    grep -q -- "$option" <<<"$text" || { echo "zarvik-convert.1 lacks $option"; missing=1; }
  done < <(help_options)
  return $missing
}

completion_names_every_option() {
  local file=$prefix/share/bash-completion/completions/zarvik-convert missing=0 option
  while read -r option; do
    grep -q -E -- "$option([^a-z-]|$)" "$file" || { echo "completion lacks $option"; missing=1; }
  done < <(help_options)
  return $missing
}

# What bash offers after WORDS..., through the installed completion.
complete_words() {
  bash -c '
    source /usr/share/bash-completion/bash_completion
    source "$1"
    shift
    COMP_WORDS=(zarvik-convert "$@")
    COMP_CWORD=$#
    COMP_LINE="zarvik-convert $*"
    COMP_POINT=${#COMP_LINE}
    _zarvik_convert
    printf "%s\n" "${COMPREPLY[@]}"
  ' complete "$prefix/share/bash-completion/completions/zarvik-convert" "$@"
}

completion_offers() {
  local offered
  offered=$(complete_words --cu) && [[ $offered == $'--cue\n--cue-color' ]] ||
    { echo "after --cu: $offered"; return 1; }
  offered=$(complete_words --cue lu) && [[ $offered == luminance ]] ||
    { echo "after --cue lu: $offered"; return 1; }
  offered=$(complete_words --blur=me) && [[ $offered == $'mean\nmedian' ]] ||
    { echo "after --blur=me: $offered"; return 1; }
}

# The metainfo's screenshot is published from packaging/screenshots/.
screenshot_is_at_hand() {
  local image name size
  image=$(grep -o '<image [^>]*>[^<]*' "$prefix/share/metainfo/$app_id.metainfo.xml")
  name=$(basename "${image##*>}")
  size=$(sed -E 's/.*width="([0-9]+)" height="([0-9]+)".*/\1x\2/' <<<"$image")
  local file=$source/packaging/screenshots/$name
  [[ -s $file ]] || { echo "no packaging/screenshots/$name"; return 1; }
  [[ $(png_size "$file") == "$size" ]] || { echo "$name is $(png_size "$file"), metainfo says $size"; return 1; }
}

pages_render_cleanly() {
  local page warnings
  for page in zarvik zarvik-convert; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
      "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [[ -z $warnings ]] || { echo "$page.1: $warnings"; return 1; }
  done
}

check "programs, entry, metainfo, pages, completion installed" has_files \
  bin/zarvik bin/zarvik-convert \
  "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
  "share/icons/hicolor/scalable/apps/$app_id.svg" \
  share/man/man1/zarvik.1.gz share/man/man1/zarvik-convert.1.gz \
  share/bash-completion/completions/zarvik-convert \
  share/doc/zarvik/copyright share/doc/zarvik/changelog.gz
check "icons at 16 to 256 pixels" icons_have_their_sizes
check "desktop-file-validate" desktop-file-validate "$prefix/share/applications/$app_id.desktop"
check "desktop entry opens pictures with the installed program" desktop_entry_points_at_the_tree
check "appstreamcli validate" appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml"
check "appstreamcli validate-tree" appstreamcli validate-tree --no-net "$prefix"
check "screenshot in packaging/screenshots at its metainfo size" screenshot_is_at_hand
check "installed zarvik-convert --version is $version" programs_run
check "metainfo release and manual pages at $version" metainfo_and_pages_agree
check "manual pages render without warnings" pages_render_cleanly
check "zarvik-convert.1 names every option of --help" page_names_every_option
check "completion names every option of --help" completion_names_every_option
check "completion offers options and values" completion_offers

echo "$passes passed, $failures failed"
((failures == 0))
