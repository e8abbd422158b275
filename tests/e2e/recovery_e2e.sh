#!/usr/bin/env bash
# Recovery after the editor was killed, under Wine: edits (an owner pasted onto an area), the
# process killed the hard way, the editor started again on the same file: the question
# "恢复", 是 gives the edits back (saved, the bytes the model says); edits killed again and
# 否 at the question: the file as it was, and no question the time after. And O with unsaved
# edits: the question, 取消 keeps the scenario; 否, the open dialog, another file opened with
# nothing to undo.
set -u
source "$(dirname "$0")/../../scripts/lib/harness.bash"
e2e_suite "recovery e2e" 'for k in shift ctrl; do xdotool keyup $k 2>/dev/null; done'
e2e_demo_subset "$work" 数据 图片 demo_small.btl || { check "the demo data is made" false; exit 1; }
file=$work/demo_small.btl
cp "$file" "$work/original.btl"
plan=$(cd "$work" && "$build/native/tests/area_edits" "$file" "$work/owners_expected.btl" "$work/found_expected.btl") ||
  { check "the model plans the edits" false; exit 1; }
eval "$plan"

click_with() {
  e2e_focus "$main"
  xdotool keydown "$1"; sleep 0.1
  xdotool mousemove --window "$main" "$2" "$3" click 1; sleep 0.1
  xdotool keyup "$1"; sleep 0.3
}
paste_owners() {  # the edits of the area test: its model's file is what they make
  e2e_click "$main" "$source_x" "$source_y"
  e2e_key "$main" c
  e2e_click "$main" "$anchor_x" "$anchor_y"
  click_with shift "$corner_x" "$corner_y"
  e2e_key "$main" t
  click_with ctrl "$extra_x" "$extra_y"
  e2e_key "$main" t
}
# The recovery folder's files (%LOCALAPPDATA%\btl_editor of the suite's own prefix); each is
# written through the safe save, so one that is there is whole.
recovery_written() { compgen -G "$WINEPREFIX/drive_c/users/*/AppData/Local/btl_editor/*.recovery" >/dev/null; }

# The editor started on the file (no notice, no open dialog), up to the recovery question.
start_on_file() { e2e_start_editor "$work" "$(e2e_winpath "$file")"; }

e2e_start_display || exit 1
e2e_start_editor "$work"
main=$(e2e_open_to_main "$file") || { check "editor reaches its main window" false; exit 1; }
paste_owners
sleep 2   # the recovery file holds every step within two seconds of it
check "the steps are kept in a recovery file" recovery_written
e2e_kill_editor
check "the editor was killed" e2e_editor_ended

start_on_file
check "started again on the file, the editor asks whether to recover" wait_for 60 e2e_window_found "^恢复\$"
e2e_answer_box "^恢复\$" left   # 是
main=$(e2e_wait_window "^btl_editor\$" 30)
if [ -n "$main" ]; then
  sleep 1
  e2e_key "$main" s
  e2e_file_dialog "另存为" "$(e2e_winpath "$work/recovered.btl")" && e2e_wait_file "$work/recovered.btl"
  check "是 gives the edits back: the save is the killed editor's, byte for byte" \
    cmp "$work/owners_expected.btl" "$work/recovered.btl"
else
  check "是 opens the main window with the recovered edits" false
fi
# An undo after the save is an edit of the saved file (the history goes on), then killed again.
e2e_focus "$main"
check "the save removed the recovery file" wait_for 5 eval '! recovery_written'
xdotool keydown ctrl; sleep 0.1; xdotool keydown z; sleep 0.15; xdotool keyup z; sleep 0.1; xdotool keyup ctrl
check "the undo after the save is kept in a recovery file" wait_for 5 recovery_written
e2e_kill_editor

e2e_start_editor "$work" "$(e2e_winpath "$work/recovered.btl")"
check "killed again after more edits: the question comes for the saved file" wait_for 60 e2e_window_found "^恢复\$"
e2e_answer_box "^恢复\$" right  # 否
check "否: the range is asked as for any file" e2e_dismiss_box "操作提示" 60
e2e_kill_editor
e2e_start_editor "$work" "$(e2e_winpath "$work/recovered.btl")"
check "after 否 there is no question the next time" e2e_dismiss_box "操作提示" 60
check "and no recovery box came" e2e_no_window "^恢复\$"
check "the file itself was never touched by the recovery" cmp "$work/owners_expected.btl" "$work/recovered.btl"

# ---- O with unsaved edits: 取消 keeps everything; 否, then another file ----
e2e_kill_editor
e2e_start_editor "$work" "$(e2e_winpath "$file")"
e2e_dismiss_box "操作提示" 60
range=$(e2e_wait_window "^btl_editor\$" 30) && size=$(e2e_size "$range") && e2e_key "$range" x
main=$(e2e_main_after "$size") || { check "the original file opens" false; exit 1; }
paste_owners
e2e_key "$main" o
check "O with unsaved edits asks first" wait_for 15 e2e_window_found "^提示\$"
e2e_click_box "^提示\$" 20 80   # 取消
check "取消 opens no dialog" e2e_no_window "^打开\$"
e2e_key "$main" s
e2e_file_dialog "另存为" "$(e2e_winpath "$work/kept.btl")" && e2e_wait_file "$work/kept.btl"
check "and keeps the edited scenario" cmp "$work/owners_expected.btl" "$work/kept.btl"
e2e_click "$main" "$source_x" "$source_y"   # an edit again after that save: Delete
e2e_key "$main" Delete
e2e_key "$main" o
e2e_click_box "^提示\$" 20 0    # 否
if e2e_file_dialog "打开" "$(e2e_winpath "$work/original.btl")" && e2e_dismiss_box "操作提示" 30; then
  range=$(e2e_wait_window "^btl_editor\$" 30) && size=$(e2e_size "$range") && e2e_key "$range" x
  main=$(e2e_main_after "$size")
  e2e_focus "$main"
  xdotool keydown ctrl; sleep 0.1; xdotool keydown z; sleep 0.15; xdotool keyup z; sleep 0.1; xdotool keyup ctrl
  e2e_key "$main" s
  e2e_file_dialog "另存为" "$(e2e_winpath "$work/other.btl")" && e2e_wait_file "$work/other.btl"
  check "否 then another file: it is opened, and Ctrl+Z has nothing to undo" cmp "$work/original.btl" "$work/other.btl"
else
  check "否 leads to the open dialog and the range of the other file" false
fi
