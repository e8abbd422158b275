#!/usr/bin/env bash
# Holds every #include "folder/..." of the product folders to the floors: a file may include
# its own floor and the floors below it, never one above, and never tests/ or tools/. The
# two programs sit on top side by side: app/ (the editor) and btl/ (the companion), which
# uses the floors below dialogs/ only; neither includes the other. A header named
# *_test_hooks.h is for tests: only tests/ and the files that implement it (the same folder)
# include it. Prints each offending line as file:line: text and fails.
#
#   bash scripts/check_includes.sh [root]
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2

floors=(base platform scenario drawing catalogs problems view dialogs app)
declare -A rank
for i in "${!floors[@]}"; do rank[${floors[$i]}]=$i; done
# The companion stands on view/ as the dialogs do, and is above every floor but app/.
companion_floor=btl
rank[$companion_floor]=${rank[dialogs]}

bad=0
for floor in "${floors[@]}" "$companion_floor"; do
  [ -d "$floor" ] || continue
  while IFS= read -r hit; do
    file=${hit%%:*}; rest=${hit#*:}; line=${rest%%:*}; text=${rest#*:}
    target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1/' <<<"$text")
    [[ $target == */* ]] || continue
    top=${target%%/*}
    why=""
    if [ "$top" = tests ] || [ "$top" = tools ]; then
      why="product code includes $top/"
    elif [ "$floor" = "$companion_floor" ] && { [ "$top" = app ] || [ "$top" = dialogs ]; }; then
      why="the companion uses the floors below dialogs/"
    elif [ "$top" = "$companion_floor" ] && [ "$floor" != "$companion_floor" ]; then
      why="product code includes the companion"
    elif [ -n "${rank[$top]+x}" ] && [ "${rank[$top]}" -gt "${rank[$floor]}" ]; then
      why="$floor/ is below $top/"
    elif [[ $target == *_test_hooks.h ]] && [ "$top" != "$floor" ]; then
      why="test hooks are for tests"
    fi
    if [ -n "$why" ]; then
      echo "$file:$line: $text   <- $why"
      bad=1
    fi
  done < <(grep -nH -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$floor"/*.h "$floor"/*.cpp 2>/dev/null)
done

if [ "$bad" -ne 0 ]; then
  echo "include check: upward includes found (floors from the bottom: ${floors[*]})" >&2
  exit 1
fi
echo "include check: every #include keeps to the floors"
