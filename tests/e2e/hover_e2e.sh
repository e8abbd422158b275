#!/usr/bin/env bash
# The information box in the running editor under Wine: the pointer resting on a hex with a
# unit and a city shows a white box outlined in black, holding text, beside that hex and
# inside the map area, as tall as the core's lines for the hex make it. Moving the pointer
# off the map, or out of the window in one jump, brings back the plain map pixel for pixel.
# None of it changes a byte of the saved file.
set -u
source "$(dirname "$0")/../../scripts/lib/harness.bash"
e2e_suite "hover e2e"
e2e_demo_data "$work" || { check "the demo data is made" false; exit 1; }
# From the core: the map area, the hex to rest on (and the track clicks that bring it into
# view), the box's height for it.
facts=$(cd "$work" && "$build/native/tests/hover_probe" facts demo_large.btl) ||
  { check "the core finds a hex with a unit and a city" false; exit 1; }
eval "$facts"

e2e_start_display || exit 1
e2e_start_editor "$work"
main=$(e2e_open_to_main "$work/demo_large.btl") || { check "editor reaches its main window" false; exit 1; }
[ "$h_click" != "-1 -1" ] && e2e_click "$main" $h_click
[ "$v_click" != "-1 -1" ] && e2e_click "$main" $v_click

# Where the screenshots $1 (plain) and $2 differ, as box_x, box_y, box_w, box_h,
# box_outlined, box_white, box_ink.
box_x=0 box_y=0 box_w=0 box_h=0 box_outlined=0 box_white=0 box_ink=0
box_in() {
  local found
  found=$("$build/native/tests/hover_probe" box "$1" "$2") && eval "$found"
}
# Captures the main window into $1 until it differs from the plain frame (want=box) or equals
# it (want=plain), for up to 20 s; the box variables describe the last capture.
capture_is() {
  e2e_capture "$main" "$1" && box_in "$work/plain.png" "$1" || return 1
  if [ "$2" = box ]; then [ "$box_w" -gt 0 ]; else [ "$box_w" -eq 0 ]; fi
}
capture_until() { wait_for 20 capture_is "$@"; }

# The plain frame once the view has settled after the scrolling: two captures in a row alike.
plain_frame() { e2e_capture "$main" "$work/plain.png" && identify -format '%#' "$work/plain.png"; }
e2e_pointer_off_map "$main"
wait_steady 30 plain_frame >/dev/null || { check "a screenshot of the plain map" false; exit 1; }

# ---- Resting on the hex ----
xdotool mousemove --window "$main" "$point_x" "$point_y"
check "resting on a hex with a unit and a city shows a box" capture_until "$work/hover.png" box
if [ "$box_w" -gt 0 ]; then
  echo "box at ($box_x, $box_y), $box_w x $box_h; hex at ($hex_x, $hex_y)"
  check "the box is outlined in black all round" test "$box_outlined" = 1
  check "the box is white with text in it ($box_white white, $box_ink dark pixels)" \
    test $((box_white * 2)) -gt $((box_w * box_h)) -a "$box_ink" -gt 50
  check "the box lies wholly inside the map area" \
    test "$box_x" -ge 0 -a "$box_y" -ge 0 -a $((box_x + box_w)) -le "$map_width" -a $((box_y + box_h)) -le "$map_height"
  check "the box does not cover the hovered hex" \
    test "$box_x" -ge $((hex_x + 50)) -o $((box_x + box_w)) -le "$hex_x" -o "$box_y" -ge $((hex_y + 50)) -o $((box_y + box_h)) -le "$hex_y"
  check "the box stands right beside the hex" \
    test "$box_x" = $((hex_x + 53)) -o $((box_x + box_w)) = $((hex_x - 3)) -o "$box_y" = $((hex_y + 53)) -o $((box_y + box_h)) = $((hex_y - 3))
  check "the box is level with the pointer" \
    test "$box_y" -le "$point_y" -a "$point_y" -lt $((box_y + box_h)) -o "$box_x" -le "$point_x" -a "$point_x" -lt $((box_x + box_w))
  check "the box is as tall as the core's lines for the hex make it ($box_height)" test "$box_h" = "$box_height"
fi

# ---- Off the map: the plain map again ----
e2e_pointer_off_map "$main"
check "moving off the map brings back the plain map, pixel for pixel" capture_until "$work/after.png" plain

# ---- Out of the window in one jump: only the window's leave report says so ----
xdotool mousemove --window "$main" "$point_x" "$point_y"
check "resting on the hex again shows the box again" capture_until "$work/hover2.png" box
eval "$(xdotool getwindowgeometry --shell "$main")"
outside_x=$((X + WIDTH + 20))
[ "$outside_x" -ge 1270 ] && outside_x=$((X - 20))
xdotool mousemove "$outside_x" $((Y + 100))
check "leaving the window in one jump brings back the plain map" capture_until "$work/after2.png" plain

# ---- Nothing of the scenario changed ----
e2e_key "$main" s
e2e_file_dialog "另存为" "$(e2e_winpath "$work/saved.btl")" && e2e_wait_file "$work/saved.btl"
check "the file saved after hovering is byte for byte the opened one" cmp "$work/demo_large.btl" "$work/saved.btl"
