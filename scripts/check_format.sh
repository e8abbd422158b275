#!/usr/bin/env bash
# Holds every C++ file of the tree (*.h, *.cpp outside build/ and dist/) to .clang-format:
# prints each file clang-format would change, with the command that formats it, and fails.
#
#   bash scripts/check_format.sh [root]
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2
command -v clang-format >/dev/null || { echo "format check: clang-format is not installed" >&2; exit 2; }

bad=0
while IFS= read -r -d '' file; do
  file=${file#./}
  if ! clang-format --style=file --dry-run --Werror "$file" >/dev/null 2>&1; then
    echo "$file: not in the tree's format (clang-format -i $file)"
    bad=1
  fi
done < <(find . \( -path ./build -o -path ./dist -o -path ./.git \) -prune -o \
  \( -name '*.h' -o -name '*.cpp' \) -type f -print0 | sort -z)

if [ "$bad" -ne 0 ]; then
  echo "format check: files differ from .clang-format" >&2
  exit 1
fi
echo "format check: every C++ file is in the tree's format"
