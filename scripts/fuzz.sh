#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of
# seconds (default 30) over a copy of its corpus from fuzz/corpus/. New inputs worth
# keeping can be merged back by hand with -merge=1.
#   scripts/fuzz.sh 3600            # an hour each
#   scripts/fuzz.sh 600 bridge_fuzz # one target
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
scripts/setup.sh clang libclang-rt-14-dev libomp-14-dev
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZARVIK_FUZZ=ON -DZARVIK_BUILD_BENCH=OFF >/dev/null
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(bridge_fuzz settings_text_fuzz pipeline_fuzz picture_load_fuzz)
fi
cmake --build build-fuzz --target "${targets[@]}"
export QT_QPA_PLATFORM=offscreen
for target in "${targets[@]}"; do
  corpus=$(mktemp -d)
  cp -r "fuzz/corpus/${target%_fuzz}/." "$corpus/" 2>/dev/null || true
  echo "== $target for ${seconds}s"
  # A picture that takes longer than 20 s or 4 GB to refuse counts as a finding.
  status=0
  build-fuzz/fuzz/"$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
    -artifact_prefix="build-fuzz/$target-" -print_final_stats=1 "$corpus" \
    >"build-fuzz/$target.log" 2>&1 || status=$?
  grep -E "^stat::(number_of_executed_units|peak_rss_mb)|ERROR|SUMMARY" "build-fuzz/$target.log" || true
  rm -rf "$corpus"
  if ((status != 0)); then
    tail -n 40 "build-fuzz/$target.log" >&2
    echo "$target found a fault; the input is in build-fuzz/$target-*" >&2
    exit 1
  fi
done
