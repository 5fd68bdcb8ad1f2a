#!/usr/bin/env bash
# The layering check fails on an upward include, on two folders that include each other,
# on a cycle of three folders and on a Qt header outside qt/, and names what it found.
set -euo pipefail
root=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

expect_failure() {  # what: the plant; file, line: where; pattern: what the check must say
  local what=$1 file=$2 line=$3 pattern=$4
  rm -rf "$work/src"
  cp -r "$root/src" "$work/src"
  printf '%s\n' "$line" >>"$work/src/$file"
  if out=$("$root/scripts/check-layers" "$work/src"); then
    echo "FAILED: the check passed with $what"
    exit 1
  fi
  if ! grep -q -- "$pattern" <<<"$out"; then
    echo "FAILED: $what was not named; the check said:"
    echo "$out"
    exit 1
  fi
}

expect_failure "an upward include" model/ProjectSettings.cpp '#include "app/MainFrame.h"' \
  'model/ProjectSettings.cpp includes app/ on a higher floor'
expect_failure "two folders of one floor including each other" compiler/BlockScan.cpp '#include "link/UnitLink.h"' \
  'compiler/ and link/ include each other'
expect_cycle() {  # a cycle of three folders of the screens' floor
  rm -rf "$work/src"
  cp -r "$root/src" "$work/src"
  printf '#include "settings/PLCSheet.h"\n' >>"$work/src/tables/RecipeDlg.cpp"
  printf '#include "tables/RecipeDlg.h"\n' >>"$work/src/editor/AddressDlg.cpp"
  if out=$("$root/scripts/check-layers" "$work/src"); then
    echo "FAILED: the check passed with a cycle of three folders"
    exit 1
  fi
  grep -q -- "are in one include cycle" <<<"$out" || { echo "FAILED: the cycle was not named:"; echo "$out"; exit 1; }
}
expect_cycle
expect_failure "a Qt header outside qt/" ui/Dialog.cpp '#include <QWidget>' \
  'ui/Dialog.cpp includes a Qt header'
expect_failure "a folder with no floor" model/ProjectSettings.cpp '#include "nowhere/Thing.h"' \
  "a folder with no floor"
echo "the check fails on every planted arrow"
