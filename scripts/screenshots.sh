#!/usr/bin/env bash
# Makes the pictures of the user guide (docs/images/*.png) by driving the real editor under
# Wine on the project's demo data, so that the guide shows what the program shows.
#
# Run it after `bash scripts/build.sh` (it needs build/win/app/btl_editor.exe and, from the
# native build, the demo-data generator and tests/hover_probe). It always works on a virtual
# display of its own (Xvfb), with or without a display of yours, so the pictures do not depend
# on your screen; the demo data, a Wine prefix (a copy of the build's) and the scratch files
# live in a mktemp folder of its own that is removed at the end. A rerun gives the same pictures: the demo data is
# generated from fixed seeds, the pointer rests off the pictures, the keyboard focus is moved
# from edit fields to a button where a dialog has one, and the PNGs carry no time stamps.
#
# Every step is checked: a failing one is named on stderr and the script exits with status 1,
# leaving docs/images as it was.
set -uo pipefail
source "$(dirname "$0")/lib/harness.bash"
work=$(mktemp -d)
images=$root/docs/images
trap 'e2e_stop; timeout 30 wineserver -w 2>/dev/null; rm -rf "$work" "$e2e_dir"' EXIT
trap 'exit 1' INT TERM

fail() {
  echo "screenshots: $1 failed" >&2
  if [ -n "${DISPLAY:-}" ]; then
    xdotool search --name . 2>/dev/null | while read -r w; do echo "window: $(xdotool getwindowname "$w")" >&2; done
  fi
  exit 1
}

for f in "$editor_exe" "$build/native/tools/demo_data/make_demo_data" "$build/native/tests/hover_probe"; do
  [ -x "$f" ] || fail "finding $f (run bash scripts/build.sh first)"
done
# A Wine prefix of its own: the build's prefix and its running programs stay untouched.
wine_prefix_own "$work/wine-prefix" || fail "setting up the Wine prefix"

demo=$work/demo
"$build/native/tools/demo_data/make_demo_data" "$demo" >/dev/null || fail "generating the demo data"
# From the core: a hex with a unit and a city, the track clicks that bring it into view and
# the map area's size (map_width, map_height, h_click, v_click, hex_x, hex_y, point_x, point_y).
facts=$(cd "$demo" && "$build/native/tests/hover_probe" facts demo_large.btl) || fail "finding a hex to show"
eval "$facts"
# Hexes of 6 pixels in the range window instead of 3 (格子边长 of 数据\配置.ini, a GBK file):
# the picture then shows the terrain colours and the red frame clearly.
key=$(printf '格子边长' | iconv -f UTF-8 -t GBK) || fail "writing the configuration key in GBK"
LC_ALL=C sed -i "s/^$key=3/$key=6/" "$demo/数据/配置.ini" || fail "setting 格子边长"
LC_ALL=C grep -q "^$key=6" "$demo/数据/配置.ini" || fail "finding 格子边长=6 in the configuration"

# The part of the main window (after the scrolling below) that map_detail.png shows, twice
# as large: a city with its airport, a unit with 将, other buildings, flags, three owners.
MAP_DETAIL=300x250+100+150

# ---- Pictures ----
new=$work/images
mkdir -p "$new"
shot=$work/shot.png

# Writes capture $1 as docs picture $2 (an 8-bit PNG without time stamps), cut to the
# rectangle "WxH+X+Y" $3 when given and enlarged $4 times (pixels kept sharp) when given.
publish() {
  local crop=() scale=()
  [ -n "${3:-}" ] && crop=(-crop "$3" +repage)
  [ -n "${4:-}" ] && scale=(-filter point -resize "$(( $4 * 100 ))%")
  convert "$1" "${crop[@]}" "${scale[@]}" -strip +dither -colors 256 -define png:exclude-chunks=date,time \
    "PNG8:$new/$2" || fail "writing $2"
}
# Captures window $1 once it has settled (two captures in a row alike) and publishes it as $2
# (cut to $3 when given).
settled_capture() { e2e_capture "$1" "$shot" && identify -format '%#' "$shot"; }
picture() {
  wait_steady 30 settled_capture "$1" >/dev/null || fail "capturing $2"
  publish "$shot" "$2" "${3:-}"
}
# Waits for the window titled exactly $1 and gives it the keyboard; prints its id.
window() {
  local id
  id=$(e2e_wait_window "^$1\$" 30) || return 1
  e2e_focus "$id" >/dev/null || return 1
  echo "$id"
}
# Moves the keyboard focus of the focused dialog one control back (to its last button, from
# the first control), so that no edit field shows its caret or a selected text.
focus_off_edits() { xdotool key "${1:-shift+Tab}"; sleep 0.4; }
e2e_start_display || fail "starting a virtual display"
e2e_start_editor "$demo"

# ---- Start-up, file, range ----
notice=$(window "Halvorn3BTL.*") || fail "waiting for the start-up notice"
sleep 0.5  # the box painted
picture "$notice" startup_notice.png
e2e_dismiss_box "Halvorn3BTL" 20 || fail "closing the start-up notice"
e2e_file_dialog "打开" "$(e2e_winpath "$demo/demo_large.btl")" || fail "answering the open dialog"
e2e_dismiss_box "操作提示" 30 || fail "closing the range instructions"
range=$(e2e_wait_window "^btl_editor\$" 30) || fail "waiting for the range window"
xdotool mousemove 1279 1023    # the pointer away from the pictures
sleep 0.5
picture "$range" range_select.png
size=$(e2e_size "$range")
e2e_key "$range" x
main=$(e2e_main_after "$size") || fail "waiting for the main window"
sleep 0.5

# ---- A hex with a unit and a city, selected ----
[ "$h_click" != "-1 -1" ] && e2e_click "$main" $h_click
[ "$v_click" != "-1 -1" ] && e2e_click "$main" $v_click
e2e_click "$main" "$point_x" "$point_y"
e2e_pointer_off_map "$main" || fail "moving the pointer off the map"
sleep 0.5

# ---- The information box: the pointer resting on that hex ----
e2e_capture "$main" "$work/plain.png" || fail "capturing the plain map"
xdotool mousemove --window "$main" "$point_x" "$point_y"
box_w=0
for _ in $(seq 20); do
  sleep 0.5
  e2e_capture "$main" "$shot" || fail "capturing the information box"
  found=$("$build/native/tests/hover_probe" box "$work/plain.png" "$shot") && eval "$found"
  [ "$box_w" -gt 0 ] && break
done
[ "$box_w" -gt 0 ] || fail "waiting for the information box"
# The hex and its box, with a margin of map around them.
left=$(( box_x < hex_x ? box_x : hex_x )) top=$(( box_y < hex_y ? box_y : hex_y ))
right=$(( box_x + box_w > hex_x + 50 ? box_x + box_w : hex_x + 50 ))
bottom=$(( box_y + box_h > hex_y + 50 ? box_y + box_h : hex_y + 50 ))
left=$(( left > 20 ? left - 20 : 0 )) top=$(( top > 20 ? top - 20 : 0 ))
right=$(( right + 20 < map_width ? right + 20 : map_width ))
bottom=$(( bottom + 20 < map_height ? bottom + 20 : map_height ))
publish "$shot" hover.png "$((right - left))x$((bottom - top))+$left+$top" 2
e2e_pointer_off_map "$main"

# ---- The four editors of the selected hex (command buttons at x 0, 157, 314, 471) ----
# Opens the editor of command button $1 titled $2; prints its id.
editor() {
  e2e_click "$main" $(( $1 * 157 + 35 )) 590
  window "$2"
}
dialog=$(editor 1 兵种编辑) || fail "opening 兵种编辑"
e2e_measure_dialog_units "$dialog" 140 232
focus_off_edits
picture "$dialog" unit_dialog.png
e2e_close_dialog "^兵种编辑\$" 5 5 || fail "closing 兵种编辑"

dialog=$(editor 0 建筑编辑) || fail "opening 建筑编辑"
focus_off_edits
picture "$dialog" building_dialog.png
e2e_close_dialog "^建筑编辑\$" 5 5 || fail "closing 建筑编辑"

dialog=$(editor 2 将军编辑) || fail "opening 将军编辑"
e2e_click_du "$dialog" 104 87   # 加入将军 名字: the first commander, with the portrait
e2e_press Down
xdotool key shift+Tab; sleep 0.4
sleep 0.5
picture "$dialog" general_dialog.png
e2e_close_dialog "^将军编辑\$" 5 5 || fail "closing 将军编辑"

dialog=$(editor 3 16进制编辑) || fail "opening 16进制编辑"
focus_off_edits Tab          # from the team combo to 确定
picture "$dialog" hex_dialog.png
e2e_close_dialog "^16进制编辑\$" 5 5 || fail "closing 16进制编辑"

# ---- The team editor (J) with its first team, and the colour chooser of its swatch ----
e2e_key "$main" j
dialog=$(window 军团编辑) || fail "opening 军团编辑"
e2e_click_du "$dialog" 30 11    # the first team of the list
sleep 0.5
picture "$dialog" team_dialog.png
e2e_click_du "$dialog" 135 155  # the swatch
chooser=$(window 颜色) || fail "opening the colour chooser"
sleep 0.5
picture "$chooser" colour_chooser.png
xdotool key Escape
e2e_gone_within "^颜色\$" 10 || fail "closing the colour chooser"
e2e_close_dialog "^军团编辑\$" 280 37 || fail "closing 军团编辑"

# ---- Go-to (G), on the global column and row of the range's middle ----
file=$demo/demo_large.btl
middle="$(( $(i32_at "$file" 8) + $(i32_at "$file" 16) / 2 )),$(( $(i32_at "$file" 12) + $(i32_at "$file" 20) / 2 ))"
e2e_key "$main" g
dialog=$(window 定位格子) || fail "opening 定位格子"
xdotool type --delay 30 "$middle"
xdotool key Tab; sleep 0.4      # the focus on 确定: no caret
picture "$dialog" goto.png
xdotool key Return
e2e_gone_within "^定位格子\$" 10 || fail "going to $middle"

# ---- The main window where the teams meet, a hex selected, and a part of the map ----
e2e_click "$main" 200 540 && e2e_click "$main" 615 250 && e2e_click "$main" 120 80 ||
  fail "scrolling the main window"
e2e_pointer_off_map "$main" || fail "moving the pointer off the map"
sleep 0.5
picture "$main" main_window.png
publish "$shot" map_detail.png "$MAP_DETAIL" 2

# ---- Find (F): the first unit type of the catalog; 全选 makes every hex of it the area ----
e2e_key "$main" f
dialog=$(window 查找格子) || fail "opening 查找格子"
xdotool key Tab; sleep 0.4      # from 归属 to 兵种
e2e_press Down                  # 0:无部队
e2e_press Down                  # the first unit type
xdotool key Tab; sleep 0.4      # on to the check box: no caret in a combo
sleep 0.5
picture "$dialog" find.png
xdotool key Return
e2e_gone_within "^查找格子\$" 10 || fail "closing 查找格子 with 全选"
e2e_pointer_off_map "$main" || fail "moving the pointer off the map"
sleep 0.5
picture "$main" area.png

# ---- The overview (M) of the whole range, with that area ----
e2e_key "$main" m
overview=$(e2e_wait_window "^总览" 30) || fail "opening the overview"
sleep 0.5
picture "$overview" overview.png
e2e_key "$main" m
e2e_gone_within "^总览" 10 || fail "closing the overview"

# ---- Saving onto the opened file: the replace question, answered 否 ----
e2e_key "$main" s
e2e_file_dialog "另存为" "$(e2e_winpath "$file")" || fail "answering the save dialog"
box=$(window 提示) || fail "waiting for the replace question"
sleep 0.5
picture "$box" save_question.png
e2e_answer_box "^提示\$" right || fail "answering the replace question"

# ---- An edit (删除 of the first team), then the question before closing ----
e2e_key "$main" j
dialog=$(window 军团编辑) || fail "opening 军团编辑 again"
e2e_click_du "$dialog" 30 11    # the first team
e2e_click_du "$dialog" 188 138  # 删除
e2e_close_dialog "^军团编辑\$" 280 37 || fail "closing 军团编辑 again"
e2e_focus "$main"
xdotool keydown alt; sleep 0.1; xdotool key F4; sleep 0.1; xdotool keyup alt
box=$(window 提示) || fail "waiting for the question before closing"
sleep 0.5
picture "$box" close_question.png
e2e_click_box "^提示\$" 20 0 || fail "answering 否"
[ "$(e2e_wait_editor_end 30)" = 0 ] || fail "ending the editor with 否"

# ---- The problem report (P) on the messy demo ----
e2e_start_editor "$demo"
e2e_dismiss_box "Halvorn3BTL" 90 || fail "waiting for the start-up notice"
e2e_file_dialog "打开" "$(e2e_winpath "$demo/demo_messy.btl")" || fail "opening demo_messy.btl"
e2e_dismiss_box "操作提示" 30 || fail "waiting for the range instructions"
range=$(e2e_wait_window "^btl_editor\$" 30) || fail "waiting for the range window"
size=$(e2e_size "$range")
e2e_key "$range" x
box=$(window 提示) || fail "waiting for the warning about the save"
sleep 0.5
picture "$box" save_loss.png
e2e_dismiss_box "^提示\$" 10 || fail "dismissing the warning about the save"
main=$(e2e_main_after "$size") || fail "waiting for the main window of demo_messy.btl"
e2e_pointer_off_map "$main"
e2e_key "$main" p
dialog=$(window 问题检查) || fail "opening 问题检查"
sleep 0.5
picture "$dialog" problems.png
xdotool key Escape
e2e_gone_within "^问题检查\$" 10 || fail "closing 问题检查"
e2e_stop

# All pictures made: they replace the old ones.
mkdir -p "$images"
rm -f "$images"/*.png
cp "$new"/*.png "$images/" || fail "copying the pictures into $images"
ls -l "$images"
