#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need, when
# any is missing.
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-image-formats-plugins
          libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth)
# The icons are rendered, the installed tree validated and the Debian package built
# and checked with these.
packages+=(librsvg2-bin desktop-file-utils appstream man-db bash-completion
           dpkg-dev file lintian)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
