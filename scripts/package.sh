#!/usr/bin/env bash
# Builds the Debian package in build-package/ (or the folder given as $1) with
# Debian's hardening flags, checks it (scripts/check-package.sh), and prints its
# path as the last line:
#   apt install "$(scripts/package.sh | tail -n 1)"
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-package}
scripts/setup.sh >&2
# Debian's own hardening flags, as its archive builds packages with them.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARVIK_WERROR=ON \
  -DZARVIK_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
# Only what the package holds: CPack installs without building, and the tests have
# no place in a package.
cmake --build "$dir" --parallel 2 --target zarvik zarvik-convert zarvik_desktop_files >&2
scripts/check-package.sh "$dir"
