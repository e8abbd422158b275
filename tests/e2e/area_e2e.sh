#!/usr/bin/env bash
# The area in the running editor under Wine: a Shift + click rectangle and a Ctrl + click hex
# take a copied owner with T (two undo steps, saved byte for byte as the model says; Ctrl+Z
# twice gives the unedited file back); the area's mark by pixels, gone after a plain click;
# a find by unit type (F, the dialog 查找格子, Enter), Delete, saved as the model says; F3
# moves the selection's red outline to the next hex found.
set -u
source "$(dirname "$0")/../../scripts/lib/harness.bash"
e2e_suite "area e2e" 'for k in shift ctrl g; do xdotool keyup $k 2>/dev/null; done'
e2e_demo_subset "$work" 数据 图片 demo_small.btl || { check "the demo data is made" false; exit 1; }
file=$work/demo_small.btl
plan=$(cd "$work" && "$build/native/tests/area_edits" "$file" "$work/owners_expected.btl" "$work/found_expected.btl") ||
  { check "the model plans the edits" false; exit 1; }
eval "$plan"

red() { e2e_pointer_off_map "$main"; test "$(e2e_pixel "$main" "$1")" = "170,0,0"; }
not_red() { ! red "$1"; }
magenta_ring() { e2e_pointer_off_map "$main"; test "$(e2e_pixel "$main" "$(($1 - 23)),$2")" = "255,0,255"; }
no_ring() { ! magenta_ring "$@"; }
# A click with a modifier held.
click_with() {
  e2e_focus "$main"
  xdotool keydown "$1"; sleep 0.1
  xdotool mousemove --window "$main" "$2" "$3" click 1; sleep 0.1
  xdotool keyup "$1"; sleep 0.3
}
ctrl_key() { e2e_focus "$main"; xdotool keydown ctrl; sleep 0.1; e2e_key "$main" "$1"; xdotool keyup ctrl; sleep 0.3; }
save_as() {
  e2e_key "$main" s
  e2e_file_dialog "另存为" "$(e2e_winpath "$work/$1")" && e2e_wait_file "$work/$1"
}

e2e_start_display || exit 1
e2e_start_editor "$work"
main=$(e2e_open_to_main "$file") || { check "editor reaches its main window" false; exit 1; }

# ---- A rectangle and one more hex take the copied owner ----
e2e_click "$main" "$source_x" "$source_y"
e2e_key "$main" c
e2e_click "$main" "$anchor_x" "$anchor_y"
check "before Shift + click the anchor hex has no area mark" no_ring "$anchor_x" "$anchor_y"
click_with shift "$corner_x" "$corner_y"
check "Shift + click marks the rectangle's first hex" magenta_ring "$anchor_x" "$anchor_y"
check "and its last" magenta_ring "$corner_x" "$corner_y"
check "but not the hex outside it" no_ring "$extra_x" "$extra_y"
e2e_key "$main" t
click_with ctrl "$extra_x" "$extra_y"
check "Ctrl + click adds a hex to the area" magenta_ring "$extra_x" "$extra_y"
e2e_key "$main" t
save_as owners.btl
check "the save holds the owner pasted onto every hex of the area, byte for byte" \
  cmp "$work/owners_expected.btl" "$work/owners.btl"

e2e_click "$main" "$source_x" "$source_y"
check "a plain click empties the area: the mark is gone" no_ring "$anchor_x" "$anchor_y"
ctrl_key z
ctrl_key z
save_as undone.btl
check "Ctrl+Z twice gives the unedited file back" cmp "$file" "$work/undone.btl"

# ---- Find by unit type, then Delete ----
e2e_key "$main" f
dialog=$(e2e_wait_window "^查找格子\$" 15)
if [ -n "$dialog" ]; then
  e2e_focus "$dialog"
  xdotool key Tab; sleep 0.2      # from 归属 to 兵种
  e2e_replace_text "$unit_type"
  xdotool key Return              # 全选
  check "Enter with matches closes the find dialog" e2e_gone_within "^查找格子\$" 5
  sleep 0.5
  check "the first hex found is selected, centred" red "$first_outline"
  e2e_key "$main" Delete
  save_as found.btl
  check "Delete clears the units and buildings of all $found_count hexes found, byte for byte" \
    cmp "$work/found_expected.btl" "$work/found.btl"
  e2e_key "$main" F3
  check "F3 selects the next hex found" red "$second_outline"
  [ "$first_outline" != "$second_outline" ] && check "and the first is no longer selected" not_red "$first_outline"
else
  check "F opens the dialog 查找格子" false
fi
