#!/usr/bin/env bash
# The format check on the real tree (it must pass) and on a copy with one file put out of
# format (it must fail naming that file and no other).
set -u
source "$(dirname "$0")/../scripts/lib/harness.bash"
check_format=$root/scripts/check_format.sh

out=$(bash "$check_format" "$root" 2>&1) && pass "the tree itself" || fail "the tree itself" "$out"

work=$(mktemp -d)
trap 'rm -rf "$work" "$e2e_dir"' EXIT
cp "$root/.clang-format" "$work/"
mkdir -p "$work/base" "$work/view"
cp "$root/base/status.h" "$work/base/"
cp "$root/view/layout.cpp" "$work/view/"
out=$(bash "$check_format" "$work" 2>&1) && pass "a copy of two files passes" || fail "a copy of two files passes" "$out"
echo 'int   planted_by_the_format_test ;' >>"$work/view/layout.cpp"
out=$(bash "$check_format" "$work" 2>&1); rc=$?
if [ $rc -ne 0 ] && grep -q '^view/layout.cpp: ' <<<"$out" && ! grep -q '^base/status.h: ' <<<"$out"; then
  pass "a file out of format fails the check, named"
else
  fail "a file out of format fails the check, named (status $rc)" "$out"
fi

checks_line "format check"
