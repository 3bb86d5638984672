#!/usr/bin/env bash
# Sets up, checks, builds and runs every test: the layout of every C++ file and the
# layering of the folders first, then the g++ build, its Debian package through
# lintian, a short run of each fuzzer, and the same suite again under clang's
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh clang libclang-rt-14-dev libomp-14-dev clang-format
scripts/check-format.sh
scripts/check-layers.sh
scripts/build.sh build
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j2
# The Debian package made from the tested build, through lintian (scripts/package.sh
# makes the one to hand out, with Debian's hardening flags, in build-package/).
scripts/check-package.sh build >/dev/null
scripts/fuzz.sh "${ZARVIK_FUZZ_SECONDS:-30}"
scripts/test-sanitized.sh
