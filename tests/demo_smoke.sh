#!/usr/bin/env bash
# The companion on the generated demo data, natively and as the Windows .exe under Wine:
# the clean demo scenarios check with status 0 and the messy one with 1, and re-saving the
# clean ones gives their bytes back. The .exe draws the same PNG bytes as the native build, and
# writes the same UTF-8 bytes as the native build to a file or a pipe, and shows Chinese in a
# console whatever its code page.
set -u
source "$(dirname "$0")/../scripts/lib/harness.bash"
work=$(mktemp -d)
trap 'e2e_finish demo' EXIT
e2e_begin || exit 1
demo=$work/demo
e2e_demo_data "$demo" || { check "the demo data is made" false; exit 1; }
expect() { check "$@"; }  # expect NAME COMMAND...: the command must succeed
cd "$demo"
# A font with Chinese glyphs for render's labels, given to both builds alike (none: no labels).
font=$(fc-list :lang=zh file 2>/dev/null | sed 's/: *$//' | grep -E '\.tt[cf]$' | sort | head -n 1)
for tool in native windows; do
  if [ $tool = native ]; then btl=("$build/native/btl/btl"); else btl=(wine_zh "$build/win/btl/btl.exe"); fi
  for f in demo_small.btl demo_large.btl; do
    expect "$tool check $f finds nothing (status 0)" "${btl[@]}" check "$f"
  done
  # Run here, not through `bash -c`, where the wine_zh function does not exist.
  "${btl[@]}" check demo_messy.btl >/dev/null 2>&1
  expect "$tool check of demo_messy.btl finds something (status 1)" test $? -eq 1
  "${btl[@]}" check --json demo_messy.btl >/dev/null 2>&1
  expect "$tool check --json of demo_messy.btl exits 1 too" test $? -eq 1
  for f in demo_*.btl; do
    expect "$tool info $f" "${btl[@]}" info "$f"
    expect "$tool info --json $f" "${btl[@]}" info --json "$f"
  done
  for f in demo_small.btl demo_large.btl; do
    rm -f "resaved_$f"
    expect "$tool resave $f" "${btl[@]}" resave "$f" "resaved_$f"
    expect "$tool resave $f gives the same bytes" cmp "$f" "resaved_$f"
  done
  for f in demo_*.btl; do
    rm -f "$tool.$f.json" "$tool.back.$f"
    expect "$tool export $f" "${btl[@]}" export "$f" "$tool.$f.json"
    expect "$tool import $f" "${btl[@]}" import "$tool.$f.json" "$tool.back.$f"
    expect "$tool export then import gives $f back" cmp "$f" "$tool.back.$f"
  done
  expect "$tool diff of a file with itself exits 0" "${btl[@]}" diff demo_small.btl demo_small.btl
  "${btl[@]}" diff demo_small.btl demo_messy.btl >/dev/null 2>&1
  expect "$tool diff of two files exits 1" test $? -eq 1
  "${btl[@]}" check no_such.btl >/dev/null 2>&1
  expect "$tool refuses a missing file with status 2" test $? -eq 2
  # Version control: export to standard output, "-" as standard input, merge and new.
  "${btl[@]}" export demo_messy.btl >"$tool.stdout.json" 2>/dev/null
  expect "$tool export to standard output writes what export to a file does" cmp "$tool.stdout.json" "$tool.demo_messy.btl.json"
  "${btl[@]}" export - <demo_messy.btl >"$tool.stdin.json" 2>/dev/null
  expect "$tool export - reads standard input" cmp "$tool.stdin.json" "$tool.demo_messy.btl.json"
  "${btl[@]}" info - <demo_small.btl 2>/dev/null | tail -n +2 >"$tool.info.out"
  "${btl[@]}" info demo_small.btl 2>/dev/null | tail -n +2 >"$tool.info.file"
  expect "$tool info - reads standard input as info of the file does" cmp "$tool.info.out" "$tool.info.file"
  rm -f "$tool.merged.btl" "$tool.new.btl" "$tool.new.resaved.btl"
  expect "$tool merge of a file with itself" "${btl[@]}" merge demo_messy.btl demo_messy.btl demo_messy.btl -o "$tool.merged.btl"
  expect "$tool merge of a file with itself gives its bytes" cmp demo_messy.btl "$tool.merged.btl"
  expect "$tool new" "${btl[@]}" new "$tool.new.btl" --range 10 10 40 30 --teams 68,52
  expect "$tool resave of a new file" "${btl[@]}" resave "$tool.new.btl" "$tool.new.resaved.btl"
  expect "$tool resave of a new file gives its bytes" cmp "$tool.new.btl" "$tool.new.resaved.btl"
  "${btl[@]}" info demo_small.btl >/dev/full 2>/dev/null
  expect "$tool output that cannot be written exits 2" test $? -eq 2
  # Pictures: the default, a hex side that scales the artwork, --diff, and a named font.
  rm -f "$tool".render*.png
  expect "$tool render demo_large" "${btl[@]}" render demo_large.btl "$tool.render.png"
  expect "$tool render demo_small --hex 23 --range" "${btl[@]}" render demo_small.btl "$tool.render23.png" --hex 23 --range 163 25 10 9
  "${btl[@]}" render demo_small.btl "$tool.render_diff.png" --diff demo_messy.btl --hex 17 >/dev/null 2>&1
  expect "$tool render --diff of two files exits 1" test $? -eq 1
  if [ -n "$font" ]; then
    expect "$tool render --font" "${btl[@]}" render demo_small.btl "$tool.render_font.png" --font "$font"
  fi
done
expect "windows makes the same new file as native" cmp native.new.btl windows.new.btl
for png in render.png render23.png render_diff.png ${font:+render_font.png}; do
  expect "windows draws the same PNG as native: $png" cmp "native.$png" "windows.$png"
done
for f in demo_*.btl; do
  expect "windows exports $f as native does" cmp "native.$f.json" "windows.$f.json"
done

# Redirected output of the .exe: the native build's bytes.
for args in "info demo_small.btl" "info demo_messy.btl" "--help" "resave --help" "check no_such.btl" \
            "diff demo_small.btl demo_messy.btl" "diff --all demo_large.btl demo_messy.btl" \
            "check demo_messy.btl" "check --all --json demo_messy.btl" "check --json no_such.btl" \
            "info --json demo_messy.btl"; do
  # shellcheck disable=SC2086
  "$build/native/btl/btl" $args >native.out 2>native.err
  # shellcheck disable=SC2086
  wine_zh "$build/win/btl/btl.exe" $args >windows.out 2>windows.err
  expect "windows writes UTF-8 like native: btl $args" cmp native.out windows.out
  expect "windows writes UTF-8 like native to stderr: btl $args" cmp native.err windows.err
done
# A console (Wine's, on a pseudo-terminal) under code pages that cannot show UTF-8 bytes:
# the text must come out as the Chinese it is.
"$build/native/btl/btl" info demo_small.btl >native.out
for cp in 437 936; do
  script -qec "LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 wine cmd /c 'chcp $cp >nul & $(e2e_winpath "$build/win/btl/btl.exe") info demo_small.btl'" \
    "console$cp.log" >/dev/null 2>&1 </dev/null
  for n in 1 3 5; do
    expect "console (code page $cp) shows line $n" grep -aqF "$(sed -n ${n}p native.out)" "console$cp.log"
  done
done
