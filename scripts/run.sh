#!/usr/bin/env bash
# Sets up and builds, then starts the desktop program; on a machine without a
# display it converts the sample picture with the command-line converter instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec build/app/zarvik
fi
echo "No display here: converting the sample picture with zarvik-convert instead."
exec scripts/convert-sample.sh build
