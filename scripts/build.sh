#!/usr/bin/env bash
# Configures and builds into build/ (or the folder given as $1), warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARVIK_WERROR=ON "$@" >/dev/null
cmake --build "$dir"
