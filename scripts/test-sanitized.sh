#!/usr/bin/env bash
# Builds the whole suite with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/ and runs it; the first report fails it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh clang libclang-rt-14-dev libomp-14-dev
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZARVIK_SANITIZE=ON -DZARVIK_BUILD_BENCH=OFF -DZARVIK_WERROR=ON >/dev/null
cmake --build build-asan
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# Qt and the system libraries it loads keep some allocations for the whole process.
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
ctest --test-dir build-asan --output-on-failure -j2
