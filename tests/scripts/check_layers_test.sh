#!/usr/bin/env bash
# Runs scripts/check-layers.sh on a small tree that keeps every rule, with one line
# added by the named case, and compares what it reports with what the case expects.
# Usage: check_layers_test.sh CHECK_SCRIPT CASE
set -euo pipefail
check=$1
name=$2

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
cd "$tree"

# Every layer uses the ones below it, as the real tree does.
mkdir platform core depth stereo conversion io app tools tests
add() { printf '%s\n' "$2" >>"$1"; }
library() {  # folder, target, the targets it links
  local folder=$1 target=$2; shift 2
  add "$folder/CMakeLists.txt" "add_library($target STATIC a.cpp)"
  add "$folder/CMakeLists.txt" "target_link_libraries($target PUBLIC"
  local used; for used in "$@"; do add "$folder/CMakeLists.txt" "  $used"; done
  add "$folder/CMakeLists.txt" ")"
}
add platform/a.h '#pragma once'
add core/a.cpp '#include "platform/a.h"'
add depth/a.cpp '#include "core/a.h"'
add stereo/a.cpp '#include "platform/a.h"'
add conversion/a.cpp '#include "depth/a.h"'
add conversion/a.cpp '#include "stereo/a.h"'
add io/a.cpp '#include "conversion/a.h"'
add io/a.cpp '#include <QImage>'
add app/a.cpp '#include "io/a.h"'
add app/a.cpp '#include <QWidget>'
add tools/a.cpp '#include "core/a.h"'
add tests/a.cpp '#include "app/a.h"'
add tests/a.cpp '#include "tools/a.h"'
library platform zarvik_platform
library core zarvik_core zarvik_platform
library depth zarvik_depth zarvik_core
library stereo zarvik_stereo zarvik_core
library conversion zarvik_conversion zarvik_depth zarvik_stereo
library io zarvik_io zarvik_conversion Qt6::Gui
library app zarvik_app zarvik_io Qt6::Widgets
library tools zarvik_tool zarvik_io
library tests zarvik_test_support zarvik_app

# Each case: the file, the line added at its end, and the report expected (none: passes).
case $name in
  clean_tree) file=core/a.cpp line='' expected='' ;;
  include_down_two_layers) file=io/a.cpp line='#include "platform/a.h"' expected='' ;;
  core_includes_depth) file=core/a.cpp line='#include "depth/a.h"'
    expected='core/a.cpp:2: core may not use depth, a higher layer (#include "depth/a.h")' ;;
  platform_includes_io) file=platform/a.h line='#  include "io/a.h"'
    expected='platform/a.h:2: platform may not use io, a higher layer (#include "io/a.h")' ;;
  include_by_relative_path) file=core/a.cpp line='#include "../app/a.h"'
    expected='core/a.cpp:2: core may not use app, a higher layer (#include "app/a.h")' ;;
  depth_includes_stereo) file=depth/a.cpp line='#include "stereo/a.h"'
    expected='depth/a.cpp:2: depth may not use stereo, a layer beside it (#include "stereo/a.h")' ;;
  app_includes_tools) file=app/a.cpp line='#include "tools/a.h"'
    expected='app/a.cpp:3: app may not use tools, a layer beside it (#include "tools/a.h")' ;;
  layer_includes_tests) file=conversion/a.cpp line='#include "tests/support/a.h"'
    expected='conversion/a.cpp:3: conversion may not use tests, a higher layer (#include "tests/support/a.h")' ;;
  commented_out_include) file=core/a.cpp line='// #include "app/a.h"' expected='' ;;
  qt_class_header_in_conversion) file=conversion/a.cpp line='#include <QImage>'
    expected='conversion/a.cpp:3: no Qt below io/ (#include <QImage>)' ;;
  qt_module_header_in_platform) file=platform/a.h line='#include <QtCore/QString>'
    expected='platform/a.h:2: no Qt below io/ (#include <QtCore/QString>)' ;;
  qt_lower_case_header_in_core) file=core/a.cpp line='#include <qglobal.h>'
    expected='core/a.cpp:2: no Qt below io/ (#include <qglobal.h>)' ;;
  standard_header_starting_with_q) file=core/a.cpp line='#include <queue>' expected='' ;;
  qt_in_tools) file=tools/a.cpp line='#include <QCoreApplication>' expected='' ;;
  link_upward) file=core/CMakeLists.txt line='target_link_libraries(zarvik_core PRIVATE zarvik_depth)'
    expected='core/CMakeLists.txt:5: core may not use depth, a higher layer (links zarvik_depth)' ;;
  link_sideways_on_a_later_line) file=stereo/CMakeLists.txt
    line=$'target_link_libraries(zarvik_stereo\n  PRIVATE\n  zarvik_depth)'
    expected='stereo/CMakeLists.txt:7: stereo may not use depth, a layer beside it (links zarvik_depth)' ;;
  link_qt_below_io) file=depth/CMakeLists.txt line='target_link_libraries(zarvik_depth PUBLIC Qt6::Core)'
    expected='depth/CMakeLists.txt:5: no Qt below io/ (links Qt6::Core)' ;;
  *) echo "no case named $name" >&2; exit 2 ;;
esac
[[ -z $line ]] || add "$file" "$line"

status=0
report=$(bash "$check" "$tree") || status=$?
want_status=$([[ -z $expected ]] && echo 0 || echo 1)
if [[ $report != "$expected" || $status != "$want_status" ]]; then
  printf 'expected (exit %s):\n%s\ngot (exit %s):\n%s\n' "$want_status" "$expected" "$status" "$report"
  exit 1
fi
