#!/usr/bin/env bash
# Work is never lost by accident, in the running editor under Wine: keys typed into another
# program (Wine's notepad) neither edit the scenario nor confirm the map range; undo and redo
# of a paste, a team-editor edit and a team removal give back the saved bytes exactly; the
# user's close asks before unsaved edits are thrown away and ends at once when there are none.
set -u
source "$(dirname "$0")/../../scripts/lib/harness.bash"
e2e_suite "undo and close e2e" 'kill_notepad; focus_activates off'
e2e_demo_data "$work" || { check "the demo data is made" false; exit 1; }
btl() { (cd "$work" && "$build/native/btl/btl" "$@"); }

notepad_group=
kill_notepad() { [ -n "$notepad_group" ] && kill -TERM -- -"$notepad_group" 2>/dev/null; notepad_group=; true; }
# Wine's notepad in the same prefix and display, as the other program that has the focus.
start_notepad() {
  setsid wine notepad >/dev/null 2>&1 &
  notepad_group=$!
  notepad=$(e2e_wait_window "Notepad" 60)
}
# Without a window manager nothing makes a window the foreground window when it gets the X
# focus; Wine does it itself when told not to wait for a window manager's WM_TAKE_FOCUS. On
# for this suite (and its editors), off again at its end (the prefix is this run's own, but
# a suite run on the build's prefix leaves it as it found it).
focus_activates() {
  if [ "$1" = on ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseTakeFocus /d N /f >/dev/null 2>&1
  else
    wine reg delete 'HKCU\Software\Wine\X11 Driver' /v UseTakeFocus /f >/dev/null 2>&1
  fi
  true
}
# Brings notepad to the front and holds each key given long enough for any polling loop to
# see it.
type_into_notepad() {
  e2e_focus "$notepad"
  e2e_click "$notepad" 60 60
  local k
  for k in "$@"; do xdotool keydown "$k"; sleep 0.15; xdotool keyup "$k"; sleep 0.1; done
  sleep 0.5
}
differs() { ! cmp -s "$1" "$2"; }
no_window() { e2e_no_window "$1"; }
kill_editor() { e2e_kill_editor; }
save_as() {  # S, then the save dialog answered with a file of the work folder
  e2e_key "$main" s
  e2e_file_dialog "另存为" "$(e2e_winpath "$work/$1")" && e2e_wait_file "$work/$1"
}
# The user's close of the main window (Alt+F4 with the focus on it).
close_main() {
  e2e_focus "$main"
  xdotool keydown alt; sleep 0.1; xdotool key F4; sleep 0.1; xdotool keyup alt
  sleep 0.5
}
# Answers the question before closing: 是, 否 or 取消 (buttons left to right).
answer_close() {
  local offset
  case $1 in 是) offset=-80 ;; 否) offset=0 ;; 取消) offset=80 ;; esac
  e2e_click_box "^提示\$" 20 "$offset"
}
ctrl_key() {  # Ctrl+$1 with the focus on the main window, once
  e2e_focus "$main"
  xdotool keydown ctrl; sleep 0.1; xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"
  sleep 0.1; xdotool keyup ctrl; sleep 0.4
}

e2e_start_display || exit 1
focus_activates on

# ---- The map range: an X typed into another program does not confirm it ----
e2e_start_editor "$work"
if e2e_dismiss_box "Halvorn3BTL" 60 && e2e_file_dialog "打开" "$(e2e_winpath "$work/demo_large.btl")" &&
   e2e_dismiss_box "操作提示" 30 && range=$(e2e_wait_window "^btl_editor\$" 30); then
  range_size=$(e2e_size "$range")
  start_notepad
  check "notepad opens beside the editor" test -n "$notepad"
  type_into_notepad x x
  sleep 1
  check "an x typed into notepad leaves the range window open" \
    test "$(e2e_size "$range")" = "$range_size"
  check "the main window did not open" test "$(xdotool search --name '^btl_editor$' 2>/dev/null | wc -l)" = 1
else
  check "the editor reaches its range window" false
fi
kill_editor
kill_notepad

# ---- The map: keys typed into another program change nothing ----
e2e_start_editor "$work"
main=$(e2e_open_to_main "$work/demo_large.btl") || { check "editor reaches its main window" false; exit 1; }
e2e_click "$main" 200 540   # centre the view where the teams meet
e2e_click "$main" 615 250
e2e_click "$main" 25 330    # visible column 0, row 6: copied
e2e_key "$main" c
e2e_click "$main" 425 430   # visible column 8, row 8, of another team: selected
save_as plain.btl
check "a save without edits gives the file's bytes" wait_for 20 cmp -s "$work/demo_large.btl" "$work/plain.btl"
start_notepad
type_into_notepad u t b s j u t b
check "s typed into notepad opens no save dialog" no_window "另存为"
check "j typed into notepad opens no team editor" no_window "军团编辑"
e2e_focus "$main"           # back to the editor
kill_notepad
save_as typed.btl
check "the scenario saved after typing into notepad is byte-identical" cmp -s "$work/plain.btl" "$work/typed.btl"

# ---- Undo and redo: a paste, a team-editor edit, a team removal ----
e2e_key "$main" t           # the copied owner onto the selected hex
# The dialog-unit scale, from the unit editor (140 x 232 units), closed without 确定.
e2e_click "$main" 192 590
unit=$(e2e_wait_window "^兵种编辑\$" 30) && e2e_measure_dialog_units "$unit" 140 232
e2e_close_dialog "^兵种编辑\$" 5 5 || true
team_editor() {  # J, then the given steps on the team editor, then its close command
  e2e_key "$main" j
  team=$(e2e_wait_window "^军团编辑\$" 30) || return 1
  e2e_focus "$team"
  "$@"
  e2e_close_dialog "^军团编辑\$" 280 37
}
apply_money() {
  e2e_click_du "$team" 20 12                         # the list's first row: team 0
  e2e_click "$team" 280 17; e2e_replace_text 123456  # 金钱
  e2e_click_du "$team" 188 158                       # 确定
}
remove_team_0() {
  e2e_click_du "$team" 20 12                         # team 0 again
  e2e_click_du "$team" 188 138                       # 删除
}
check "the team editor applies 金钱" team_editor apply_money
check "the team editor removes team 0" team_editor remove_team_0
save_as edited.btl
check "the paste and the team editor changed the saved file" differs "$work/plain.btl" "$work/edited.btl"
for _ in 1 2 3 4 5; do ctrl_key z; done
save_as undone.btl
check "Ctrl+Z back past every step saves the unedited bytes" cmp -s "$work/plain.btl" "$work/undone.btl"
for _ in 1 2 3 4 5; do ctrl_key y; done
save_as redone.btl
check "Ctrl+Y brings every edited byte back" cmp -s "$work/edited.btl" "$work/redone.btl"

# ---- Closing: with unsaved edits the question, 取消 keeps editing, 否 ends with 0 ----
ctrl_key z
files_before=$(ls "$work")
close_main
check "closing with unsaved edits asks first" e2e_wait_window '^提示$' 30
answer_close 取消
sleep 1  # what is to be seen is nothing happening: the editor given a moment to end, if it would
check "取消 keeps the editor running" e2e_editor_running
close_main
check "the question comes again" e2e_wait_window '^提示$' 30
answer_close 否
check "否 ends the editor with status 0" e2e_editor_ended_with 0 30
check "否 saved nothing" test "$(ls "$work")" = "$files_before"

# ---- 是: the save dialog, the file written, then the end ----
e2e_start_editor "$work"
main=$(e2e_open_to_main "$work/demo_large.btl") || { check "editor reaches its main window again" false; exit 1; }
e2e_click "$main" 200 540
e2e_click "$main" 615 250
e2e_click "$main" 25 330
e2e_key "$main" c
e2e_click "$main" 425 430
e2e_key "$main" t
close_main
if [ -n "$(e2e_wait_window '^提示$' 30)" ]; then
  answer_close 是
  e2e_file_dialog "另存为" "$(e2e_winpath "$work/on_close.btl")"
  check "是 saves the file" e2e_wait_file "$work/on_close.btl"
  check "是 ends the editor with status 0 after the save" e2e_editor_ended_with 0 30
  check "the file saved on closing is the pasted scenario" wait_for 20 btl check on_close.btl
  check "the file saved on closing differs from the original" differs "$work/plain.btl" "$work/on_close.btl"
else
  check "closing with a paste asks first" false
fi

# ---- Without edits the close ends at once ----
e2e_start_editor "$work"
main=$(e2e_open_to_main "$work/demo_large.btl") || { check "editor reaches its main window a third time" false; exit 1; }
close_main
check "closing without edits ends at once with status 0" e2e_editor_ended_with 0 30
check "closing without edits asks nothing" no_window "^提示\$"
