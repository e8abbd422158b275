#!/usr/bin/env bash
# The whole editor under Wine on a virtual display, driven with xdotool: start-up notice,
# open dialog, range window, main window (clicks, arrow keys, tracks), copy and paste keys,
# saving under a new name and over an existing one, and the user's close.
set -u
source "$(dirname "$0")/../../scripts/lib/harness.bash"
e2e_suite "editor e2e"
e2e_demo_data "$work" || { check "the demo data is made" false; exit 1; }
btl() { (cd "$work" && "$build/native/btl/btl" "$@"); }

e2e_start_display || exit 1
e2e_start_editor "$work"
main=$(e2e_open_to_main "$work/demo_large.btl") || { check "editor reaches its main window" false; exit 1; }
check "main window is 630 x 625" test "$(e2e_size "$main")" = 630x625
# Pixels of the map are read with the pointer off the map, where no information box shows.
e2e_pointer_off_map "$main"

# The large demo's range starts at global (10, 5): its top-left hex is sea, dark blue.
check "sea hex is dark blue" wait_for 20 e2e_pixel_is "$main" 25,25 0,0,170
check "horizontal thumb starts at the left" wait_for 20 e2e_pixel_is "$main" 35,540 170,170,170

# Column 2 is global column 12 (even): the outline of (2, 1) runs from (100, 50).
e2e_click "$main" 120 80
e2e_pointer_off_map "$main"
check "selection outline in an even column" wait_for 20 e2e_pixel_is "$main" 100,70 170,0,0
# Column 1 is global column 11 (odd): shifted down by 25 pixels.
e2e_click "$main" 60 80
e2e_pointer_off_map "$main"
odd_outline() { test "$(e2e_pixel "$main" 50,90)" = "170,0,0" -a "$(e2e_pixel "$main" 50,60)" != "170,0,0"; }
check "selection outline in an odd column is 25 px lower" wait_for 20 odd_outline

for _ in 1 2 3 4 5; do e2e_key "$main" Right; done
# Scrolled five columns: the thumb now starts at 30 + 540 * 5 / 120 = 52.
thumb_moved() { test "$(e2e_pixel "$main" 45,540)" = "255,255,255" -a "$(e2e_pixel "$main" 60,540)" = "170,170,170"; }
check "arrow keys move the thumb one cell per press" wait_for 20 thumb_moved
e2e_click "$main" 590 530   # the right arrow button
e2e_click "$main" 300 540   # the track's middle: centres the view
check "track click centres the view" wait_for 20 e2e_pixel_is "$main" 280,540 170,170,170

save_as() {  # S, then the save dialog answered with a path of the work folder
  e2e_key "$main" s
  e2e_file_dialog "另存为" "$(e2e_winpath "$work/$1")"
}

# While the save dialog holds the main thread, the window thread repaints what the dialog
# uncovers from the back buffer.
before_cover=$(e2e_pixel "$main" 120,120)
e2e_key "$main" s
dialog=$(e2e_wait_window "另存为" 30)
xdotool windowmove "$dialog" 700 650
check "an uncovered window repaints from its back buffer" wait_for 20 e2e_pixel_is "$main" 120,120 "$before_cover"
e2e_file_dialog "另存为" "$(e2e_winpath "$work/saved.btl")"

# Save without edits under a new name: the same bytes as the file.
e2e_wait_file "$work/saved.btl"
check "saving without edits gives the file's bytes" wait_for 20 cmp -s "$work/demo_large.btl" "$work/saved.btl"

# Saving over an existing file asks first: No keeps it, Yes replaces it.
printf 'old' > "$work/existing.btl"
save_as existing.btl
e2e_answer_box "^提示\$" right
sleep 1
check "answering No leaves the existing file untouched" test "$(cat "$work/existing.btl")" = old
save_as existing.btl
e2e_answer_box "^提示\$" left
check "answering Yes replaces it" wait_for 30 cmp -s "$work/demo_large.btl" "$work/existing.btl"

# Copy and paste the owner (T): from a hex of one team onto a hex of another, the target
# takes the source's colour. The view is centred as a track click puts it.
e2e_click "$main" 200 540
e2e_click "$main" 615 250
# A point inside hex (column, row) whether or not its column is shifted down.
centre() { e2e_pixel "$main" "$(( $1 * 50 + 25 )),$(( $2 * 50 + 37 ))"; }
src=$(centre 0 6) dst=$(centre 8 8)
e2e_click "$main" 25 330            # visible column 0, row 6
e2e_key "$main" c
e2e_click "$main" 425 430           # visible column 8, row 8
e2e_key "$main" t
e2e_pointer_off_map "$main"
pasted() { test "$src" != "$dst" -a "$(centre 8 8)" = "$src"; }
check "T pastes the owner: the hex takes the copied hex's colour" wait_for 20 pasted

# Esc turns the command keys off: T does nothing then; Esc again turns them back on.
e2e_click "$main" 475 430
e2e_pointer_off_map "$main"
before_t=$(centre 9 8)
e2e_key "$main" Escape
e2e_key "$main" t
check "with the command keys off T does nothing" \
  test "$before_t" != "$src" -a "$(centre 9 8)" = "$before_t"
e2e_key "$main" Escape

# The pasted owner is saved.
save_as pasted.btl
e2e_wait_file "$work/pasted.btl"
check "the pasted file loads" wait_for 20 btl check pasted.btl
# Header 116 + 12 teams x 116 bytes, then 120 x 80 owner bytes (cmp counts from 1).
owners_only() {
  local diffs
  diffs=$(cmp -l "$work/demo_large.btl" "$work/pasted.btl" | awk '{print $1}')
  [ -n "$diffs" ] && ! echo "$diffs" | awk '$1 < 1509 || $1 > 1508 + 9600 {bad=1} END {exit !bad}'
}
check "the saved file differs from the original in owner bytes only" owners_only

# J opens the team editor, whatever the command keys; its close box ends it.
e2e_key "$main" j
team=$(e2e_wait_window "^军团编辑\$" 30)
check "J opens the team editor" test -n "$team"
[ -n "$team" ] && xdotool windowfocus "$team" 2>/dev/null && xdotool key alt+F4 && e2e_gone "^军团编辑\$"
check "the team editor closes" e2e_gone_within "^军团编辑\$" 20

# The user's close of the main window ends the program, and ends it normally. The editor
# watched is the one this suite started, not any editor on the machine.
check "the editor is still running before the close" e2e_editor_running
e2e_focus "$main" && xdotool key alt+F4
check "closing the main window ends the program with status 0" e2e_editor_ended_with 0 30
