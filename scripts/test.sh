#!/usr/bin/env bash
# Sets up, builds and runs every test: the g++ build, a short run of each fuzzer,
# and the same suite again under clang's AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh clang libclang-rt-14-dev
scripts/build.sh build
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j2
scripts/fuzz.sh "${ZARVIK_FUZZ_SECONDS:-30}"
scripts/test-sanitized.sh
