#!/usr/bin/env bash
# The five editing dialogs in the running editor under Wine, driven with xdotool. Each is
# opened from its command button (the team editor with J) on a hex picked from the file's
# records; values are typed and combo items stepped, 确定 applies, the close box ends the
# dialog. The general editor's portraits and the team editor's colour swatch (and, after the
# colour chooser, the map) are read from the screen. S then saves under a new name, and the
# saved bytes must equal the file the core computes for the same edits
# (tests/e2e/dialog_edits.cpp), field by field and as a whole.
set -u
source "$(dirname "$0")/../../scripts/lib/harness.bash"
e2e_suite "dialogs e2e"

# A demo folder of our own, and from the core: the hexes to edit, what to type and the file
# the save must then write.
e2e_demo_subset "$work" 数据 图片 demo_small.btl || { check "the demo data is made" false; exit 1; }
plan=$(cd "$work" && "$build/native/tests/dialog_edits" demo_small.btl expected.btl) ||
  { check "the core computes the expected file" false; exit 1; }
eval "$plan"

# Waits up to 20 s for a condition: windows repaint on their own threads' time.
eventually() { wait_for 20 "$@"; }
shot=$e2e_dir/dialog_shot.png
pixel_is() { e2e_pixel_is "$@"; }  # WINDOW X,Y R,G,B

e2e_start_display || exit 1
e2e_start_editor "$work"
main=$(e2e_open_to_main "$work/demo_small.btl") || { check "editor reaches its main window" false; exit 1; }
check "main window is 630 x 625 (12 x 10 hexes)" test "$(e2e_size "$main")" = 630x625
main_alive() { xdotool getwindowgeometry "$main" >/dev/null 2>&1; }
e2e_pointer_off_map "$main"  # no information box over the map's pixels
check "a hex of team 0 is drawn in the file's team colour" eventually pixel_is "$main" "$team0_hex_x,$team0_hex_y" "$team0_colour"

# Selects the hex at client point ($1, $2), clicks command button $3 (0 building, 1 unit,
# 2 general, 3 raw hex; at x 0, 157, 314, 471, y 560) and waits for the dialog titled $4.
open_from_button() {
  [ -n "$1" ] && e2e_click "$main" "$1" "$2"
  e2e_click "$main" $(( $3 * 157 + 35 )) 590
  open_dialog "$4"
}
# Waits for the dialog titled $1 and gives it the keyboard (there is no window manager to do
# it): prints its id.
open_dialog() {
  local id
  id=$(e2e_wait_window "^$1\$" 30) || return 1
  e2e_focus "$id" >/dev/null || return 1
  echo "$id"
}
# Types $4 into the control at dialog-unit point ($2, $3) of dialog $1.
type_du() { e2e_click_du "$1" "$2" "$3"; e2e_replace_text "$4"; }
# Types $4 into the run-time control at pixel ($2, $3) of dialog $1.
type_px() { e2e_click "$1" "$2" "$3"; e2e_replace_text "$4"; }
# Steps the combo box at dialog-unit point ($2, $3) of dialog $1 with key $4.
step_combo() { e2e_click_du "$1" "$2" "$3"; e2e_press "$4"; }
still_open() { xdotool getwindowgeometry "$1" >/dev/null 2>&1; }
portrait_at() { e2e_capture "$1" "$shot" && is_portrait "$shot" "$2" "$3"; }  # WINDOW X Y
white_square_at() { e2e_capture "$1" "$shot" && is_white_square "$shot" "$2" "$3"; }
# The swatch painted as the dialog's face (no team shown), the face not black (painted).
swatch_blank() {
  e2e_capture "$1" "$shot" || return 1
  local face
  face=$(e2e_pixel_in "$shot" 3,3)
  [ "$face" != 0,0,0 ] && [ "$(e2e_pixel_in "$shot" "$2")" = "$face" ]
}
closes() {  # closes CAPTION X Y: the close command, then the main window must still be there
  e2e_close_dialog "^$1\$" "$2" "$3" && sleep 0.5 && main_alive  # a moment for it to end, if it would
}

# ---- 兵种编辑 on a unit without general ----
dialog=$(open_from_button "$unit_x" "$unit_y" 1 兵种编辑)
check "the unit button opens 兵种编辑" test -n "$dialog"
if [ -n "$dialog" ]; then
  e2e_measure_dialog_units "$dialog" 140 232
  type_du "$dialog" 65 86 "$movement_typed"         # 移动能力 1042
  type_du "$dialog" 65 101 "$morale_typed"          # 士气 1043
  type_du "$dialog" 65 146 "$change_turn_typed"     # 改变回合 1046
  type_du "$dialog" 65 116 "$early_policy_typed"    # 前期方针 1044: a number typed into the combo
  step_combo "$dialog" 65 191 "$attack_key"         # 是否攻击 1050: the neighbouring item
  e2e_click_du "$dialog" 67 224                     # 确定 1048
  check "确定 applies and leaves 兵种编辑 open" still_open "$dialog"
  e2e_press Escape
  check "Esc does not close 兵种编辑 (there is no cancel)" still_open "$dialog"
  p=$(e2e_du_point 65 56)                           # 建造时间: a harmless spot
  check "兵种编辑 closes by its close command (Alt+F4)" closes 兵种编辑 ${p% *} ${p#* }
  # Typed again but not applied: closing without 确定 must keep the applied 77.
  dialog=$(open_from_button "" "" 1 兵种编辑)
  if [ -n "$dialog" ]; then type_du "$dialog" 65 101 11; fi
  check "兵种编辑 closes again without 确定" closes 兵种编辑 ${p% *} ${p#* }
fi

# ---- 建筑编辑 on a building ----
dialog=$(open_from_button "$building_x" "$building_y" 0 建筑编辑)
check "the building button opens 建筑编辑" test -n "$dialog"
if [ -n "$dialog" ]; then
  type_du "$dialog" 40 86 "$industry_typed"         # 工业 1004
  type_du "$dialog" 106 131 "$fire_typed"           # 火焰 1012
  type_du "$dialog" 106 146 "$defence_typed"        # 防御 1022
  step_combo "$dialog" 75 51 "$facility_key"        # 设施类型 1021
  e2e_click_du "$dialog" 61 177                     # 确定 1020
  check "确定 applies and leaves 建筑编辑 open" still_open "$dialog"
  p=$(e2e_du_point 90 71)                           # 设施等级
  check "建筑编辑 closes by its close command (Alt+F4)" closes 建筑编辑 ${p% *} ${p#* }
fi

# ---- 将军编辑 on a unit with a general ----
# A 50 x 50 portrait at (20, 35) (current) and (20, 165) (candidate): five points of each.
portrait_points() { for d in "10,10" "25,25" "40,40" "15,40" "40,12"; do echo "$(( $1 + ${d%,*} )),$(( $2 + ${d#*,} ))"; done; }
# A picture: no point is the dialog's face or white, and the points are not all one colour.
is_portrait() {  # SHOT X Y
  local face colours pt c
  face=$(e2e_pixel_in "$1" 3,3)
  colours=$(for pt in $(portrait_points "$2" "$3"); do echo "$(e2e_pixel_in "$1" "$pt")"; done | sort -u)
  for c in $colours; do [ "$c" = "$face" ] || [ "$c" = 255,255,255 ] && return 1; done
  [ "$(echo "$colours" | wc -l)" -ge 2 ]
}
is_white_square() {
  local pt
  for pt in $(portrait_points "$2" "$3"); do [ "$(e2e_pixel_in "$1" "$pt")" = 255,255,255 ] || return 1; done
}
dialog=$(open_from_button "$general_x" "$general_y" 2 将军编辑)
check "the general button opens 将军编辑" test -n "$dialog"
if [ -n "$dialog" ]; then
  if [ "$general_has_one" = 1 ]; then
    check "将军编辑 shows the attached general's portrait" eventually portrait_at "$dialog" 20 35
  fi
  check "no candidate yet: a white square at (20, 165)" eventually white_square_at "$dialog" 20 165
  step_combo "$dialog" 104 87 Down; e2e_press Up   # 名字 1027: the first commander
  step_combo "$dialog" 104 103 Down; e2e_press Up  # 军衔 1026: the first rank
  e2e_click_du "$dialog" 87 123                    # 添加 1021
  step_combo "$dialog" 104 22 Down                 # 名字 1024: the next general
  e2e_click_du "$dialog" 87 59                     # 确定 1020
  check "the picked commander's portrait replaces the white square" eventually portrait_at "$dialog" 20 165
  check "the newly attached general's portrait is shown" eventually portrait_at "$dialog" 20 35
  p=$(e2e_du_point 104 39)                         # 军衔 (read-only)
  check "将军编辑 closes by its close command (Alt+F4)" closes 将军编辑 ${p% *} ${p#* }
fi

# ---- 16进制编辑 on another unit ----
# Byte box i of the unit grid: pixel (40 (i mod 8 + 1), 20 (i div 8 + 2)), 30 x 15.
byte_box() { echo "$(( 40 * ($1 % 8 + 1) + 15 )) $(( 20 * ($1 / 8 + 2) + 7 ))"; }
dialog=$(open_from_button "$raw_x" "$raw_y" 3 16进制编辑)
check "the raw hex button opens 16进制编辑" test -n "$dialog"
if [ -n "$dialog" ]; then
  type_px "$dialog" $(byte_box 8) "$hex_byte8_typed"
  type_px "$dialog" $(byte_box 15) "$hex_byte15_typed"
  step_combo "$dialog" 60 123 "$owner_key"          # 军团 1034
  e2e_click_du "$dialog" 137 168                    # 确定 1035
  check "确定 applies and leaves 16进制编辑 open" still_open "$dialog"
  check "16进制编辑 closes by its close command (Alt+F4)" closes 16进制编辑 $(byte_box 0)
  # Edits typed after the last 确定 are dropped, Esc or not.
  dialog=$(open_from_button "" "" 3 16进制编辑)
  if [ -n "$dialog" ]; then
    type_px "$dialog" $(byte_box 13) 77
    e2e_press Escape
    check "Esc does not close 16进制编辑" still_open "$dialog"
  fi
  check "16进制编辑 closes without 确定" closes 16进制编辑 $(byte_box 0)
fi

# ---- 军团编辑 with J ----
e2e_key "$main" j
dialog=$(open_dialog 军团编辑)
check "J opens 军团编辑" test -n "$dialog"
if [ -n "$dialog" ]; then
  swatch=$(e2e_du_point 135 155)                    # the middle of swatch 1061
  swatch=${swatch/ /,}
  check "before a team is shown the swatch is blank" eventually swatch_blank "$dialog" "$swatch"
  e2e_click_du "$dialog" 20 12                      # the list's first row: team 0
  check "the swatch shows team 0's colour from the file" eventually pixel_is "$dialog" "$swatch" "$team0_colour"
  type_px "$dialog" 280 17 "$money_typed"           # 金钱 1
  type_px "$dialog" 280 157 "$tax_typed"            # 税率 8
  type_px "$dialog" 280 177 "$infantry_tech_typed"  # 步兵科技 10
  type_px "$dialog" 420 137 "$nuclear_bombs_typed"  # 核弹 22
  e2e_click_du "$dialog" 188 158                    # 确定 1057
  check "确定 applies and leaves 军团编辑 open" still_open "$dialog"
  check "the swatch keeps team 0's colour after 确定" e2e_pixel_is "$dialog" "$swatch" "$team0_colour"
  # The swatch opens the system colour chooser; red, green and blue are typed into its
  # edits (Alt+R, then Tab, Tab) and its 确定 (bottom left) is clicked.
  e2e_click "$dialog" ${swatch/,/ }
  chooser=$(open_dialog 颜色)
  check "the swatch opens the colour chooser" test -n "$chooser"
  if [ -n "$chooser" ]; then
    read -r red green blue <<<"$team0_colour_typed"
    xdotool keydown alt; xdotool key r; xdotool keyup alt; sleep 0.2; e2e_replace_text "$red"
    xdotool key Tab; sleep 0.2; e2e_replace_text "$green"
    xdotool key Tab; sleep 0.2; e2e_replace_text "$blue"
    height=$(xdotool getwindowgeometry --shell "$chooser" | sed -n 's/^HEIGHT=//p')
    e2e_click "$chooser" 42 $(( height - 22 ))
    check "the colour chooser closes with its 确定" e2e_gone_within "^颜色\$" 20
    check "the swatch shows the chosen colour at once" eventually pixel_is "$dialog" "$swatch" "$team0_colour_after"
  fi
  check "军团编辑 closes by its close command (Alt+F4)" closes 军团编辑 280 37
  e2e_pointer_off_map "$main"
  check "team 0's hexes are drawn in the chosen colour" eventually pixel_is "$main" "$team0_hex_x,$team0_hex_y" "$team0_colour_after"
fi

# ---- S with a new name, and the bytes ----
e2e_key "$main" s
e2e_file_dialog "另存为" "$(e2e_winpath "$work/edited.btl")"
saved=$work/edited.btl
check "S saves the edited scenario" e2e_wait_file "$saved"
if [ -s "$saved" ]; then
  check "兵种编辑: 移动能力 300 is stored as $movement_stored" test "$(u8_at "$saved" $((unit_at + 13)))" = "$movement_stored"
  check "兵种编辑: 士气 keeps the applied $morale_typed, not the unapplied 11" test "$(u8_at "$saved" $((unit_at + 14)))" = "$morale_typed"
  check "兵种编辑: 改变回合" test "$(u16_at "$saved" $((unit_at + 18)))" = "$change_turn_typed"
  check "兵种编辑: a number typed into 前期方针" test "$(u8_at "$saved" $((unit_at + 16)))" = "$early_policy_typed"
  check "兵种编辑: the picked 是否攻击 item" test "$(u8_at "$saved" $((unit_at + 23)))" = "$attack_after"
  check "建筑编辑: 工业, 火焰, 防御" test "$(u8_at "$saved" $((building_at + 9))),$(u8_at "$saved" $((building_at + 19))),$(u8_at "$saved" $((building_at + 13)))" = "$industry_typed,$fire_typed,$defence_typed"
  check "建筑编辑: the picked 设施类型 item" test "$(u8_at "$saved" $((building_at + 4)))" = "$facility_after"
  check "将军编辑: 添加 appends the first commander with rank 1" test "$(u16_at "$saved" "$new_general_at"),$(u16_at "$saved" $((new_general_at + 2))),$(u32_at "$saved" 40)" = "$commander_added,1,$general_count_after"
  check "将军编辑: 确定 attaches the picked general" test "$(u8_at "$saved" $((general_unit_at + 12)))" = "$general_after"
  check "16进制编辑: unit bytes 8 and 15 as typed" test "$(u8_at "$saved" $((raw_unit_at + 8))),$(u8_at "$saved" $((raw_unit_at + 15)))" = "$hex_byte8,$hex_byte15"
  check "16进制编辑: the picked owner" test "$(u8_at "$saved" "$raw_owner_at")" = "$owner_after"
  check "16进制编辑: a byte typed after the last 确定 is not written" test "$(u8_at "$saved" $((raw_unit_at + 13)))" = "$raw_movement"
  check "军团编辑: 金钱, 步兵科技, 核弹" test "$(u32_at "$saved" $((team0_at + 8))),$(u32_at "$saved" $((team0_at + 44))),$(u32_at "$saved" $((team0_at + 92)))" = "$money_typed,$infantry_tech_typed,$nuclear_bombs_typed"
  check "军团编辑: 税率" test "$(f32_at "$saved" $((team0_at + 36)))" = "$tax_typed"
  check "军团编辑: the chosen colour is saved as red, green, blue, 255" test "$(for i in 0 1 2 3; do u8_at "$saved" $((team0_at + 40 + i)); done | paste -sd,)" = "$team0_colour_after,255"
  check "the saved file is byte for byte the file the core computes for these edits" cmp "$work/expected.btl" "$saved"
  check "and it differs from the original" bash -c '! cmp -s "$1" "$2"' _ "$work/demo_small.btl" "$saved"
fi
