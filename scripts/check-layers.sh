#!/usr/bin/env bash
# Fails on an include, or a CMake link, that goes from a lower layer to a higher one or
# sideways, and on Qt below io/; prints one line per offence. The layers, bottom to top:
#
#   platform -> core -> depth | stereo -> conversion -> io -> app | tools
#
# A folder may use its own layer and the ones below it; depth and stereo may not use
# each other, nor may app and tools. tests/, bench/ and fuzz/ may use anything, and
# no layer may use them. Checks the tree at $1, this checkout by default.
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"

layers="platform:0 core:1 depth:2 stereo:2 conversion:3 io:4 app:5 tools:5 tests:6 bench:6 fuzz:6"
no_qt_below=4  # io

sources=()
for entry in $layers; do
  folder=${entry%%:*}
  [[ -d $folder ]] || continue
  while IFS= read -r -d '' f; do sources+=("$f"); done \
    < <(find "$folder" -type f \( -name '*.cpp' -o -name '*.h' \) -print0)
done
cmake_lists=()
for entry in $layers; do
  [[ -f ${entry%%:*}/CMakeLists.txt ]] && cmake_lists+=("${entry%%:*}/CMakeLists.txt")
done
((${#sources[@]} + ${#cmake_lists[@]})) || exit 0

awk -v layers="$layers" -v no_qt_below="$no_qt_below" '
BEGIN {
    n = split(layers, entries, " ")
    for (i = 1; i <= n; ++i) {
        split(entries[i], pair, ":")
        rank[pair[1]] = pair[2] + 0
    }
    bad = 0
}
function folder_of(path) { sub(/\/.*/, "", path); return path }
# Why `from` may not use `to`, or "" when it may.
function offence(from, to) {
    if (!(to in rank) || from == to || rank[from] == 6) return ""
    if (rank[to] > rank[from]) return from " may not use " to ", a higher layer"
    if (rank[to] == rank[from]) return from " may not use " to ", a layer beside it"
    return ""
}
function report(where, why) { print where ": " why; bad = 1 }

# C++ sources: one #include per line.
FILENAME !~ /CMakeLists\.txt$/ {
    if ($0 !~ /^[ \t]*#[ \t]*include/) next
    from = folder_of(FILENAME)
    if (match($0, /"[^"]*"/)) {
        target = substr($0, RSTART + 1, RLENGTH - 2)
        while (substr(target, 1, 3) == "../") target = substr(target, 4)
        if (target ~ /\//) {
            why = offence(from, folder_of(target))
            if (why != "") report(FILENAME ":" FNR, why " (#include \"" target "\")")
        }
    } else if (rank[from] < no_qt_below && match($0, /<[^>]*>/)) {
        target = substr($0, RSTART + 1, RLENGTH - 2)
        if (target ~ /^Q/ || target ~ /^q[a-z0-9_]*\.h$/)
            report(FILENAME ":" FNR, "no Qt below io/ (#include <" target ">)")
    }
    next
}

# CMake lists: collected whole (a call may span lines), checked at the end.
{
    line = $0
    sub(/#.*/, "", line)
    cmake[FILENAME] = cmake[FILENAME] line "\n"
}
END {
    # Which folder each library target is defined in.
    for (file in cmake) {
        text = cmake[file]
        while (match(text, /add_library\([ \t]*[A-Za-z0-9_.-]+/)) {
            name = substr(text, RSTART, RLENGTH)
            sub(/add_library\([ \t]*/, "", name)
            owner[name] = folder_of(file)
            text = substr(text, RSTART + RLENGTH)
        }
    }
    for (file in cmake) {
        from = folder_of(file)
        text = cmake[file]
        line_no = 1
        while (match(text, /target_link_libraries\([^)]*\)/)) {
            call = substr(text, RSTART, RLENGTH)
            before = substr(text, 1, RSTART - 1)
            line_no += gsub(/\n/, "", before)
            text = substr(text, RSTART)
            first = 1
            m = split(call, lines, /\n/)
            for (j = 1; j <= m; ++j) {
                sub(/^target_link_libraries\(/, "", lines[j])
                sub(/\)$/, "", lines[j])
                w = split(lines[j], words, /[ \t]+/)
                for (k = 1; k <= w; ++k) {
                    if (words[k] == "") continue
                    if (first) { first = 0; continue }  # the target being linked
                    where = file ":" (line_no + j - 1)
                    if (words[k] in owner) {
                        why = offence(from, owner[words[k]])
                        if (why != "") report(where, why " (links " words[k] ")")
                    } else if (words[k] ~ /^Qt[0-9]*::/ && rank[from] < no_qt_below) {
                        report(where, "no Qt below io/ (links " words[k] ")")
                    }
                }
            }
            text = substr(text, 2)
        }
    }
    exit bad
}
' "${sources[@]}" "${cmake_lists[@]}"
