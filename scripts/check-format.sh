#!/usr/bin/env bash
# Fails when any tracked C++ file differs from what clang-format makes of it, and names
# each such file. Uses clang-format 14 (Debian 12's), as another version lays some
# constructs out differently. `clang-format -i FILE` puts a file right.
set -euo pipefail
cd "$(dirname "$0")/.."

format=$(command -v clang-format-14 || command -v clang-format || true)
if [[ -z $format ]]; then
  echo "check-format: clang-format 14 is not installed (scripts/setup.sh clang-format)" >&2
  exit 2
fi

mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h')
((${#files[@]})) || exit 0

# One run over every file: clang-format goes on past a file that fails and prefixes each
# complaint with the file's name, so the names are read from its messages.
status=0
output=$("$format" --dry-run --Werror "${files[@]}" 2>&1) || status=$?
if ((status == 0)); then exit 0; fi
mapfile -t offending < <(grep -oE '^[^:]+\.(cpp|h):[0-9]+:[0-9]+: (error|warning):' <<<"$output" |
                          cut -d: -f1 | sort -u)
if ((${#offending[@]} == 0)); then
  # Failed without naming a file: a broken .clang-format or the like.
  echo "$output" >&2
  exit 1
fi
printf '%s\n' "${offending[@]}"
echo "check-format: ${#offending[@]} file(s) not as clang-format lays them out" \
     "(clang-format -i FILE...)" >&2
exit 1
