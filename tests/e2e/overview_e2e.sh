#!/usr/bin/env bash
# The overview, the wheel, resizing and the notices in the running editor under Wine: M opens
# "总览" at the size the core computes, framing the main view in red; two wheel notches over
# the map scroll two rows (the frame follows); a click in the overview centres the main view
# on that hex; an owner pasted in the main view shows in the overview; a save shows its
# notice over the map and writes the bytes the model says; the window resized by the system
# lays out the new view, where a click selects the right hex; Alt+F4 on the overview closes it
# alone, and the close question still guards the main window.
set -u
source "$(dirname "$0")/../../scripts/lib/harness.bash"
e2e_suite "overview e2e" 'xdotool keyup alt 2>/dev/null'
e2e_demo_subset "$work" 数据 图片 demo_small.btl || { check "the demo data is made" false; exit 1; }
file=$work/demo_small.btl
plan=$(cd "$work" && "$build/native/tests/overview_probe" "$file" "$work/owner_expected.btl") ||
  { check "the model plans the run" false; exit 1; }
eval "$plan"

overview_red() { test "$(e2e_pixel "$overview" "$1" "$e2e_dir/ov.png")" = "255,0,0"; }
overview_pixel_is() { test "$(e2e_pixel "$overview" "$1" "$e2e_dir/ov.png")" = "$2"; }
main_red() { e2e_pointer_off_map "$main"; test "$(e2e_pixel "$main" "$1")" = "170,0,0"; }
# The notice's white box over the map's bottom-left corner, just above the map's bottom edge.
notice_shown() { test "$(e2e_pixel "$main" "2,$((map_bottom - 3))")" = "255,255,255"; }
# Alt+F4 on window $1, brought to the front by a click at ($2, $3) as a user would.
alt_f4() {
  e2e_click "$1" "$2" "$3"
  e2e_focus "$1"
  xdotool keydown alt; sleep 0.1; xdotool key F4; sleep 0.1; xdotool keyup alt
  sleep 0.5
}

e2e_start_display || exit 1
e2e_start_editor "$work"
main=$(e2e_open_to_main "$file") || { check "editor reaches its main window" false; exit 1; }
map_bottom=$(( $(e2e_size "$main" | cut -dx -f2) - 100 ))

# ---- M opens the overview ----
e2e_key "$main" m
overview=$(e2e_wait_window "^总览\$" 15)
if [ -z "$overview" ]; then
  check "M opens the window 总览" false
  exit 1
fi
check "the overview has the size the core computes ($ov_size)" test "$(e2e_size "$overview")" = "$ov_size"
check "it frames the main view in red" wait_for 5 overview_red "$frame_before"

# ---- The wheel ----
xdotool mousemove --window "$main" 300 200 click 5; sleep 0.2
xdotool mousemove --window "$main" 300 200 click 5; sleep 0.5
check "two wheel notches scroll two rows: the overview's frame moves with them" wait_for 5 overview_red "$frame_wheel"

# ---- A click in the overview centres the main view ----
e2e_click "$overview" "${ov_click%,*}" "${ov_click#*,}"
check "a click in the overview centres the main view on that hex (the frame moves there)" \
  wait_for 5 overview_red "$frame_after"
check "the target hex is shown in its owner's colour before the paste" \
  wait_for 5 overview_pixel_is "$target_ov" "$target_before"

# ---- An edit shows in the overview ----
e2e_click "$main" "$source_x" "$source_y"
e2e_key "$main" c
e2e_click "$main" "$target_x" "$target_y"
e2e_key "$main" t
check "the owner pasted in the main view shows in the overview" \
  wait_for 5 overview_pixel_is "$target_ov" "$source_colour"

# ---- A save has its notice ----
e2e_key "$main" s
e2e_file_dialog "另存为" "$(e2e_winpath "$work/owner.btl")"
# Looked for at once: it lasts two seconds from the save.
check "after the save a notice shows over the map's corner" wait_for 3 notice_shown
e2e_wait_file "$work/owner.btl"
check "the saved file holds the paste, byte for byte" cmp "$work/owner_expected.btl" "$work/owner.btl"
check "and the notice is gone a few seconds later" wait_for 6 eval '! notice_shown'

# ---- Resizing by the system's own means ----
xdotool windowsize "$main" "${resize_to%x*}" "${resize_to#*x}"; sleep 1
check "the window takes the new client size $resize_to" wait_for 5 eval 'test "$(e2e_size "$main")" = "$resize_to"'
e2e_click "$main" "${resize_click%,*}" "${resize_click#*,}"
check "a click on a hex of the new last column selects it" wait_for 5 main_red "$resize_outline"

# ---- Closing the overview alone ----
alt_f4 "$overview" "${ov_click%,*}" "${ov_click#*,}"
check "Alt+F4 on the overview closes it" e2e_gone_within "^总览\$" 10
check "and the editor goes on" e2e_editor_running
e2e_click "$main" "$target_x" "$target_y"
e2e_key "$main" t   # one more edit, so that the close asks
alt_f4 "$main" "$target_x" "$target_y"
check "the close question still comes on the main window" wait_for 10 e2e_window_found "^提示\$"
e2e_click_box "^提示\$" 20 0   # 否
check "否 ends the editor with status 0" e2e_editor_ended_with 0 30
