#!/usr/bin/env bash
# The go-to dialog (G) in the running editor under Wine: a global hex index scrolls that hex
# into the middle of the view and selects it (its red outline, read by pixels); a hex outside
# the range brings the message box "定位格子" and the dialog stays; Esc closes it and leaves
# the command keys on. None of it changes a byte of the saved file; and a copy and paste
# between two hexes named by G changes exactly the owner byte of the hex named.
set -u
source "$(dirname "$0")/../../scripts/lib/harness.bash"
e2e_suite "go-to e2e" 'xdotool keyup g 2>/dev/null'
e2e_demo_subset "$work" 数据 图片 demo_large.btl || { check "the demo data is made" false; exit 1; }
file=$work/demo_large.btl

origin_x=$(i32_at "$file" 8) origin_y=$(i32_at "$file" 12)
range_w=$(i32_at "$file" 16) range_h=$(i32_at "$file" 20)
owners_at=$((116 + $(i32_at "$file" 24) * 116))   # the ownership map, after the teams
world_w=$(i32_at "$work/数据/world.bin" 8)
owner_offset() { echo $((owners_at + $2 * range_w + $1)); }  # of local hex ($1, $2)

# The hex to go to: local (61, 35), well away from the view's start; the source of the paste:
# a hex of its row with another owner.
target_x=61 target_y=35
target_owner=$(u8_at "$file" "$(owner_offset $target_x $target_y)")
source_x=
for x in $(seq 0 $((range_w - 1))); do
  [ "$(u8_at "$file" "$(owner_offset "$x" $target_y)")" != "$target_owner" ] && { source_x=$x; break; }
done
[ -n "$source_x" ] || { check "the target's row has a hex of another owner" false; exit 1; }
source_owner=$(u8_at "$file" "$(owner_offset "$source_x" $target_y)")
target_index=$(( (origin_y + target_y) * world_w + origin_x + target_x ))

# Where the view puts a hex after a go-to (12 x 10 hexes, centred as far as the range
# allows): the client point of its outline's left edge, 20 px below the outline's top.
outline_point() {
  local scroll_x=$(($1 - 6)) scroll_y=$(($2 - 5)) col row odd
  [ $scroll_x -gt $((range_w - 12)) ] && scroll_x=$((range_w - 12)); [ $scroll_x -lt 0 ] && scroll_x=0
  [ $scroll_y -gt $((range_h - 10)) ] && scroll_y=$((range_h - 10)); [ $scroll_y -lt 0 ] && scroll_y=0
  col=$(($1 - scroll_x)) row=$(($2 - scroll_y)) odd=$(( (origin_x + $1) & 1 ))
  echo "$((col * 50)),$((row * 50 + odd * 25 + 20))"
}
target_outline=$(outline_point $target_x $target_y)
# The pointer rests off the map for every screenshot, so that nothing drawn for the hex under
# it covers the outline.
red() { xdotool mousemove --window "$main" 620 615; sleep 0.2; test "$(e2e_pixel "$main" "$1")" = "170,0,0"; }
not_red() { ! red "$1"; }
turns_red() { wait_for 20 red "$1"; }

save_as() {  # S, then the save dialog answered with a file of the work folder
  e2e_key "$main" s
  e2e_file_dialog "另存为" "$(e2e_winpath "$work/$1")" && e2e_wait_file "$work/$1"
}

# G: waits for the dialog (its id in $dialog) and gives it the keyboard.
open_goto() {
  e2e_key "$main" g
  dialog=$(e2e_wait_window "^定位格子\$" 30) || return 1
  e2e_focus "$dialog" || return 1
  [ "$e2e_du_w" != 0 ] || e2e_measure_dialog_units "$dialog" 150 54
}
type_text() { e2e_click_du "$dialog" 75 25; e2e_replace_text "$1"; }
press_ok() { e2e_click_du "$dialog" 74 43; }
# The windows captioned 定位格子: the dialog alone, or with its message box.
goto_windows() { xdotool search --name "^定位格子\$" 2>/dev/null | sort -u; }
# The message box beside the dialog, within 30 s; prints its id.
box_found() {
  local id
  for id in $(goto_windows); do
    [ "$id" != "$dialog" ] && xdotool getwindowgeometry "$id" >/dev/null 2>&1 && { found_box=$id; return 0; }
  done
  return 1
}
message_box() { wait_for 30 box_found && echo "$found_box"; }
dialog_alone() { [ "$(goto_windows)" = "$dialog" ]; }
# Clicks the OK button of message box $1 (bottom centre) until it goes away.
dismiss() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  for _ in 1 2 3 4 5 6; do
    eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null)" || return 0
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 24)) click 1
    wait_for 5 dialog_alone && return 0
  done
  return 1
}

e2e_start_display || exit 1
e2e_start_editor "$work"
main=$(e2e_open_to_main "$file") || { check "editor reaches its main window" false; exit 1; }
check "main window is 630 x 625 (12 x 10 hexes)" test "$(e2e_size "$main")" = 630x625
check "before G the target's place has no outline" not_red "$target_outline"

# ---- A hex outside the range: the message box, and the dialog stays ----
if open_goto; then
  type_text "$((origin_x - 1)),$origin_y"
  press_ok
  box=$(message_box)
  check "a column left of the range brings the message box 定位格子" test -n "$box"
  [ -n "$box" ] && check "the message box goes on OK" dismiss "$box"
  check "the dialog stays open after the message" test "$(goto_windows)" = "$dialog"
  # ---- The index of a hex of the range: the dialog closes, the hex is centred and selected
  e2e_focus "$dialog"
  type_text "$target_index"
  xdotool key Return   # Enter is 确定
  check "Enter with a hex of the range closes the dialog" e2e_gone_within "^定位格子\$" 20
  check "the hex named by its index is selected in the middle of the view" turns_red "$target_outline"
  # In an odd global column the outline starts half a hex lower: above it, no red.
  x=${target_outline%,*} y=${target_outline#*,}
  check "the outline is the named hex's, not its neighbour's" not_red "$x,$((y - 30))"
else
  check "G opens the dialog 定位格子" false
fi

# ---- Esc closes it; the selection and the command keys stay ----
if open_goto; then
  type_text "$origin_x,$origin_y"
  xdotool key Escape
  check "Esc closes the dialog" e2e_gone_within "^定位格子\$" 20
  check "after Esc the selection is where it was" turns_red "$target_outline"
else
  check "G opens the dialog again" false
fi

# S still saves (Esc in the dialog did not turn the command keys off) and no byte changed.
save_as nav.btl
check "after the go-tos the saved file has the file's bytes" cmp -s "$file" "$work/nav.btl"

# ---- The hex G selects is the hex named: copy one hex's owner onto it ----
open_goto && type_text "$((origin_x + source_x)) , $((origin_y + target_y))" && press_ok
e2e_gone_within "^定位格子\$" 20
e2e_key "$main" c
open_goto && type_text "$target_index" && press_ok
check "确定 with a hex of the range closes the dialog" e2e_gone_within "^定位格子\$" 20
e2e_key "$main" t
save_as pasted.btl
differences=$(cmp -l "$file" "$work/pasted.btl" 2>/dev/null | wc -l)
target_at=$(owner_offset $target_x $target_y)
check "the paste changed exactly one byte" test "$differences" = 1
check "it is the owner byte of the hex named by its index" \
  test "$(cmp -l "$file" "$work/pasted.btl" 2>/dev/null | awk '{print $1 - 1}')" = "$target_at"
check "it holds the owner of the hex named by its column and row" test "$(u8_at "$work/pasted.btl" "$target_at")" = "$source_owner"
