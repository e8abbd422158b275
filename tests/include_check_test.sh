#!/usr/bin/env bash
# The include check on the real tree (it must pass) and on copies of it with one planted
# include each: an upward one must fail and name the file and line, a downward or
# same-floor one must pass.
set -u
source "$(dirname "$0")/../scripts/lib/harness.bash"
check=$root/scripts/check_includes.sh
floors=(base platform scenario drawing catalogs problems view dialogs app btl)

out=$(bash "$check" "$root" 2>&1) && pass "the tree itself" || fail "the tree itself" "$out"

work=$(mktemp -d)
trap 'rm -rf "$work" "$e2e_dir"' EXIT

# plant FILE LINE EXPECT: copies the floors, appends LINE to FILE (a new file is made when
# missing), runs the check and expects "fails" (naming FILE:N) or "passes".
plant() {
  local file=$1 line=$2 expect=$3 tree=$work/tree
  rm -rf "$tree" && mkdir -p "$tree"
  for f in "${floors[@]}"; do cp -r "$root/$f" "$tree/"; done
  echo "$line" >>"$tree/$file"
  local n rc
  n=$(wc -l <"$tree/$file")
  out=$(bash "$check" "$tree" 2>&1); rc=$?
  if [ "$expect" = fails ]; then
    if [ $rc -ne 0 ] && grep -qF "$file:$n: $line" <<<"$out"; then pass "$file + '$line' fails naming $file:$n"; else
      fail "$file + '$line' should fail naming $file:$n (status $rc)" "$out"; fi
  else
    if [ $rc -eq 0 ]; then pass "$file + '$line' passes"; else fail "$file + '$line' should pass" "$out"; fi
  fi
}

plant base/text.h '#include "app/editor.h"' fails
plant base/planted.cpp '#include "scenario/world_record.h"' fails
plant scenario/battle_read.cpp '#  include "drawing/surface.h"' fails
plant drawing/window.h '#include "catalogs/catalogs.h"' fails
plant view/layout.cpp '#include "dialogs/dialogs.h"' fails
plant problems/problems.cpp '#include "view/hex_query.h"' fails
plant catalogs/catalogs.cpp '#include "problems/problems.h"' fails
plant view/hex_query.cpp '#include "problems/problems.h"' passes
plant dialogs/fields.cpp '#include "app/editor.h"' fails
plant catalogs/catalogs.cpp '#include "tests/support/temp_folder.h"' fails
plant app/editor.cpp '#include "btl/companion.h"' fails
plant view/map_view.cpp '#include "btl/render.h"' fails
plant btl/render.cpp '#include "dialogs/form.h"' fails
plant btl/check.cpp '#include "app/editor.h"' fails
plant btl/planted.h '#include "tests/support/temp_folder.h"' fails
plant btl/diff.cpp '#include "drawing/window_test_hooks.h"' fails
plant btl/render.cpp '#include "view/cell_plan.h"' passes
plant btl/check.cpp '#include "btl/names.h"' passes
plant view/map_view.cpp '#include "drawing/surface_test_hooks.h"' fails
plant app/editor.cpp '#include "base/status.h"' passes
plant dialogs/fields.cpp '#include "dialogs/form.h"' passes
plant view/layout.cpp '#include <vector>' passes

checks_line "include check"
