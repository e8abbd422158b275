#!/usr/bin/env bash
# The problem report (P) in the running editor under Wine: on the large demo with one owner
# byte naming no team, P lists that problem; a double-click on its row (and later a click on
# the row and 定位) closes the report and selects that hex, scrolled to the middle of the
# view (its red outline, by pixels); Esc closes the report; a save afterwards writes the
# file's bytes unchanged. On the clean demo P shows the message box instead of the report.
set -u
source "$(dirname "$0")/../../scripts/lib/harness.bash"
e2e_suite "problems e2e" 'xdotool keyup p 2>/dev/null'
e2e_demo_subset "$work" 数据 图片 demo_large.btl || { check "the demo data is made" false; exit 1; }

# The planted problem: the owner byte of local hex (60, 40) names team 200 of 12. The owner
# map follows the header (116 bytes) and the teams (116 bytes each), row by row.
width=$(u32_at "$work/demo_large.btl" 16) teams=$(u32_at "$work/demo_large.btl" 24)
cp "$work/demo_large.btl" "$work/planted.btl"
printf '\310' | dd of="$work/planted.btl" bs=1 seek=$((116 + 116 * teams + 40 * width + 60)) conv=notrunc status=none
check "the planted file differs from the demo in one byte" test "$(cmp -l "$work/demo_large.btl" "$work/planted.btl" | wc -l)" = 1

# The 12 x 10 view centred on local (60, 40) of the 120 x 80 range scrolls to (54, 35): the
# hex is view column 6, row 5, drawn from (300, 250); its global column 70 is even, so it is
# not shifted down. Its outline's left edge passes through (300, 275).
outline_at_target() { wait_for 20 e2e_pixel_is "$main" 300,275 170,0,0; }

save_as() {  # S, then the save dialog answered with a file of the work folder
  e2e_key "$main" s
  e2e_file_dialog "另存为" "$(e2e_winpath "$work/$1")" && e2e_wait_file "$work/$1"
}
# P, then the report's window id (empty when none came).
open_report() {
  e2e_key "$main" p
  report=$(e2e_wait_window "^问题检查\$" 30) && e2e_focus "$report"
}
# Client pixel of dialog-unit point ($1, $2) of the report, "x y".
report_point() { e2e_du_point "$1" "$2"; }
# The first row of the list: the list starts at (7, 20) dialog units; a row is about 8 high.
first_row() { report_point 60 25; }

e2e_start_display || exit 1
e2e_start_editor "$work"
main=$(e2e_open_to_main "$work/planted.btl") || { check "editor reaches its main window" false; exit 1; }
check "before the report the hex is not selected" test "$(e2e_pixel "$main" 300,275)" != "170,0,0"

# ---- A double-click on the problem's row ----
open_report
check "P opens the problem report" test -n "$report"
e2e_measure_dialog_units "$report" 280 190
read -r rx ry <<<"$(first_row)"
xdotool mousemove --window "$report" "$rx" "$ry" click --repeat 2 --delay 120 1
check "a double-click on the row closes the report" e2e_gone_within "^问题检查\$" 20
check "the planted hex is selected in the middle of the view" outline_at_target

# ---- A click on the row, then 定位 ----
e2e_click "$main" 25 25    # another hex: the outline leaves the planted one
check "another hex took the selection" test "$(e2e_pixel "$main" 300,275)" != "170,0,0"
open_report
check "P opens the report again" test -n "$report"
read -r rx ry <<<"$(first_row)"
e2e_click "$report" "$rx" "$ry"
read -r bx by <<<"$(report_point 140 177)"   # 定位
e2e_click "$report" "$bx" "$by"
check "定位 closes the report" e2e_gone_within "^问题检查\$" 20
check "定位 selects the planted hex" outline_at_target

# ---- Esc closes it with nothing chosen ----
e2e_click "$main" 25 25
open_report
check "P opens the report a third time" test -n "$report"
xdotool keydown Escape; sleep 0.15; xdotool keyup Escape
check "Esc closes the report" e2e_gone_within "^问题检查\$" 20
sleep 0.5
check "after Esc the selection stays where it was" test "$(e2e_pixel "$main" 300,275)" != "170,0,0"

save_as after.btl
check "the report changed no byte of the saved file" cmp -s "$work/planted.btl" "$work/after.btl"
report_size=${e2e_du_w}x${e2e_du_h}   # measured on the report

# ---- The clean demo: a message box, not the report ----
e2e_kill_editor
e2e_start_editor "$work"
main=$(e2e_open_to_main "$work/demo_large.btl") || { check "editor reaches its main window on the clean file" false; exit 1; }
e2e_key "$main" p
box=$(e2e_wait_window "^问题检查\$" 30)
check "P on the clean file shows a box titled 问题检查" test -n "$box"
check "the box is not the report" test "$(e2e_size "$box")" != "$report_size"
check "its button dismisses it" e2e_dismiss_box "^问题检查\$" 30
save_as clean_after.btl
check "the clean file saves unchanged after P" cmp -s "$work/demo_large.btl" "$work/clean_after.btl"
