#!/usr/bin/env bash
# Installs what is missing, builds, and runs every benchmark and the comparison with
# ImageMagick; medians of three repetitions. Figures are ratios within one run.
#   scripts/bench.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
scripts/setup.sh
scripts/build.sh "$build"
for program in bridge_bench depth_bench stereo_bench conversion_bench desktop_window_bench \
               simd_bench; do
  echo "== $program"
  QT_QPA_PLATFORM=offscreen "$build/bench/$program" --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true 2>&1 | grep -E '_median|^Run on'
done
echo "== zarvik-convert against ImageMagick"
bench/compare_imagemagick.sh "$build"
