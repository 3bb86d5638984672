#!/usr/bin/env bash
# Makes the Debian package from a built tree, checks that it carries the project's
# version throughout and that lintian finds no error or warning in it, and prints
# its path as the last line:  scripts/check-package.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: check-package.sh BUILD_DIR}
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

rm -f "$build"/zarvik_*.deb
(cd "$build" && cpack -G DEB >&2)
debs=("$build"/zarvik_*.deb)
deb=${debs[0]}

fail() {
  echo "check-package: $deb: $*" >&2
  exit 1
}
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] ||
  fail "package version $(dpkg-deb -f "$deb" Version), the project is $version"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
said=$("$unpacked/usr/bin/zarvik-convert" --version)
[[ $said == "zarvik-convert $version" ]] || fail "its zarvik-convert --version says '$said'"
grep -q "<release version=\"$version\"" "$unpacked/usr/share/metainfo/org.zarvik.Zarvik.metainfo.xml" ||
  fail "its metainfo has no release $version"
# Informational hints do not fail it. Lintian's note on being run as root is dropped.
status=0
report=$(lintian --fail-on error,warning "$deb" 2>&1) || status=$?
grep -v "running with root privileges" <<<"$report" >&2 || true
((status == 0)) || fail "lintian found the errors or warnings above"
realpath "$deb"
