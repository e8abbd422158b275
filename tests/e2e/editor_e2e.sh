#!/usr/bin/env bash
# The whole editor under Wine on a virtual display, driven with xdotool: start-up notice,
# open dialog, range window, main window (clicks, arrow keys, tracks), copy and paste keys,
# saving under a new name and over an existing one, and the user's close.
set -u
source "$(dirname "$0")/lib.bash"
passed=0 failed=0
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "ok: $name"; else failed=$((failed + 1)); echo "FAILED: $name"; fi
}
finish() {
  e2e_stop
  rm -rf "$work"
  echo "editor e2e: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}
trap finish EXIT
trap 'exit 1' INT TERM

work=$(mktemp -d)
cp -r "$build/demo/数据" "$build/demo/图片" "$build/demo/demo_large.btl" "$work/"
btl() { (cd "$work" && "$build/native/tools/btl/btl" "$@"); }

e2e_start_display || exit 1
e2e_start_editor "$work"
main=$(e2e_open_to_main "$work/demo_large.btl") || { check "editor reaches its main window" false; exit 1; }
check "main window is 630 x 625" test "$(xdotool getwindowgeometry "$main" | grep -o '[0-9]*x[0-9]*$')" = 630x625

# The large demo's range starts at global (10, 5): its top-left hex is sea, dark blue.
check "sea hex is dark blue" test "$(e2e_pixel "$main" 25,25)" = "0,0,170"
check "horizontal thumb starts at the left" test "$(e2e_pixel "$main" 35,540)" = "170,170,170"

# Column 2 is global column 12 (even): the outline of (2, 1) runs from (100, 50).
e2e_click "$main" 120 80
check "selection outline in an even column" test "$(e2e_pixel "$main" 100,70)" = "170,0,0"
# Column 1 is global column 11 (odd): shifted down by 25 pixels.
e2e_click "$main" 60 80
check "selection outline in an odd column is 25 px lower" \
  test "$(e2e_pixel "$main" 50,90)" = "170,0,0" -a "$(e2e_pixel "$main" 50,60)" != "170,0,0"

for _ in 1 2 3 4 5; do e2e_key "$main" Right; done
# Scrolled five columns: the thumb now starts at 30 + 540 * 5 / 120 = 52.
check "arrow keys move the thumb one cell per press" \
  test "$(e2e_pixel "$main" 45,540)" = "255,255,255" -a "$(e2e_pixel "$main" 60,540)" = "170,170,170"
e2e_click "$main" 590 530   # the right arrow button
e2e_click "$main" 300 540   # the track's middle: centres the view
check "track click centres the view" test "$(e2e_pixel "$main" 280,540)" = "170,170,170"

save_as() {  # S, then the save dialog answered with a path of the work folder
  e2e_key "$main" s
  e2e_file_dialog "另存为" "$(e2e_winpath "$work/$1")"
}

# Save without edits under a new name: the same bytes as the file.
save_as saved.btl
e2e_wait_file "$work/saved.btl"
check "saving without edits gives the file's bytes" cmp -s "$work/demo_large.btl" "$work/saved.btl"

# Saving over an existing file asks first: No keeps it, Yes replaces it.
printf 'old' > "$work/existing.btl"
save_as existing.btl
e2e_answer_box "^提示\$" right
sleep 1
check "answering No leaves the existing file untouched" test "$(cat "$work/existing.btl")" = old
save_as existing.btl
e2e_answer_box "^提示\$" left
e2e_wait_file "$work/existing.btl"; sleep 0.5
check "answering Yes replaces it" cmp -s "$work/demo_large.btl" "$work/existing.btl"

# Copy and paste: back to the top-left, a hex with a unit copied onto hexes of plain land.
# The companion's view of the saved file must show one unit more and the pasted owner.
for _ in $(seq 60); do xdotool keydown Left; sleep 0.03; xdotool keyup Left; sleep 0.03; done
before=$(btl info saved.btl | grep -o '文件中）: 队伍 [0-9]*，建筑 [0-9]*，部队 [0-9]*')
units_before=$(echo "$before" | grep -o '部队 [0-9]*' | grep -o '[0-9]*')
check "companion reads the saved file" test -n "$units_before"
echo "--- done: $before"
