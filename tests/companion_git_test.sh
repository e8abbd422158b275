#!/usr/bin/env bash
# The companion as git's converter and merge program, set up as the README shows, on a
# repository of its own: two branches editing different hexes merge cleanly to the bytes of
# both edits made on one file; two branches changing the same field leave git reporting a
# conflict with ours kept; `git diff` of a battle file shows its text form.
# Ends with "N passed, N failed".
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BTL_BUILD:-$root/build}
bin=$build/native/btl
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
check() {  # check NAME COMMAND...: the command must succeed
  local name=$1; shift
  if "$@" >"$work/log" 2>&1; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "FAILED: $name"; tail -n 20 "$work/log"; fi
}

"$build/native/tools/demo_data/make_demo_data" "$work/demo" >/dev/null ||
  { echo "git: 0 passed, 1 failed"; exit 1; }
export PATH="$bin:$PATH"
# Git's own settings of this machine and user stay out of the test.
export GIT_CONFIG_GLOBAL=/dev/null GIT_CONFIG_NOSYSTEM=1
export GIT_AUTHOR_NAME=test GIT_AUTHOR_EMAIL=test@example.invalid
export GIT_COMMITTER_NAME=test GIT_COMMITTER_EMAIL=test@example.invalid

# edit IN OUT PYTHON: OUT is IN with the JSON form changed by the Python statements (on `d`).
edit() {
  btl export "$1" >"$work/edit.json" &&
    python3 - "$work/edit.json" "$3" <<'EOF' &&
import json, sys
path, change = sys.argv[1], sys.argv[2]
with open(path, encoding="utf-8") as f:
    d = json.load(f)
exec(change)
with open(path, "w", encoding="utf-8") as f:
    json.dump(d, f, ensure_ascii=False)
EOF
    btl import "$work/edit.json" "$2" >/dev/null
}
# The owner of the first hex of the range's first row, and the hit points of the first unit.
owner_edit='d["owners"][0] = "00" + d["owners"][0][2:] if d["owners"][0][:2] != "00" else "01" + d["owners"][0][2:]'
unit_edit='d["units"][0]["hp"] = d["units"][0]["hp"] - 1'
money() { echo "d[\"teams\"][0][\"money\"] = $1"; }

repo=$work/repo
mkdir -p "$repo" && cd "$repo" || exit 1
git init -q -b main .
echo '*.btl diff=btl merge=btl' >.gitattributes
git config diff.btl.textconv "btl export"
git config merge.btl.driver "btl merge %O %A %B -o %A"
cp "$work/demo/demo_small.btl" map.btl
git add .gitattributes map.btl && git commit -qm base

# Different hexes on two branches.
git checkout -qb hexes-a
check "an owner edited" edit map.btl map.btl "$owner_edit"
git commit -qam "owner"
git checkout -qb hexes-b main
check "a unit edited" edit map.btl map.btl "$unit_edit"
git commit -qam "unit"
git checkout -q hexes-a
check "git merges two branches that edit different hexes" git merge -q --no-edit hexes-b
edit "$work/demo/demo_small.btl" "$work/model_a.btl" "$owner_edit" &&
  edit "$work/model_a.btl" "$work/model.btl" "$unit_edit"
check "the merge holds both edits, as the same edits made on one file" cmp map.btl "$work/model.btl"

# The same field changed differently on two branches.
git checkout -qb money-a main
edit map.btl map.btl "$(money 111)" && git commit -qam "money a"
git checkout -qb money-b main
edit map.btl map.btl "$(money 222)" && git commit -qam "money b"
git checkout -q money-a
git merge --no-edit money-b >"$work/merge.out" 2>&1
check "git reports the conflict (status not 0)" test $? -ne 0
check "git names the conflicting file" grep -q "CONFLICT.*map.btl" "$work/merge.out"
check "the driver lists the field in diff's words" grep -q "军团 0.*金钱.*我方 111，对方 222" "$work/merge.out"
check "ours is kept in the conflicting field" grep -q '"money":111,' <(btl export map.btl)
git merge --abort

# git diff shows the text form.
git checkout -q main
edit map.btl map.btl "$(money 333)"
git diff map.btl >"$work/diff.out" 2>&1
check "git diff of a battle file shows its text form" grep -q '^+.*"money":333,' "$work/diff.out"
check "git diff shows the old value beside it" grep -q '^-.*"money":' "$work/diff.out"
check "git diff says nothing of binary files" bash -c "! grep -q 'Binary files' '$work/diff.out'"

echo "git: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
