#!/usr/bin/env bash
# Start-up as Windows users start the editor, under Wine: with a battle file on the command
# line (a path with a space, as Explorer passes it) the range window comes at once, with no
# notice and no open dialog, and the file opens; started from a folder without 数据 while the
# program's own folder has it, the editor finds it there; with neither, one box
# "找不到游戏数据" and status 1. A file whose save would drop records brings one warning
# after the range selection, before the main window.
set -u
source "$(dirname "$0")/../../scripts/lib/harness.bash"
e2e_suite "start-up e2e"
game=$work/game
e2e_demo_data "$game" || { check "the demo data is made" false; exit 1; }
mkdir -p "$work/my scenarios" "$work/elsewhere" "$work/bare"
cp "$game/demo_small.btl" "$work/my scenarios/small one.btl"
cp "$editor_exe" "$game/btl_editor.exe"
cp "$editor_exe" "$work/bare/btl_editor.exe"

no_window() { e2e_no_window "$1"; }
# The range window from a file given on the command line: its instructions come first.
to_main_from_range() {
  e2e_dismiss_box "操作提示" 60 || return 1
  local range size
  range=$(e2e_wait_window "^btl_editor\$" 30) || return 1
  size=$(e2e_size "$range")
  e2e_key "$range" x
  e2e_main_after "$size"
}

e2e_start_display || exit 1

# ---- A file on the command line, started in the game folder ----
e2e_start_editor "$game" "$(e2e_winpath "$work/my scenarios/small one.btl")"
check "with a file given the range instructions come" wait_for 60 e2e_window_found "^操作提示\$"
check "and no start-up notice" no_window "Halvorn3BTL"
check "and no open dialog" no_window "^(Open|打开)\$"
main=$(to_main_from_range)
# The small demo's range is 16 x 14: the default 12 x 10 view.
check "the file given opens in the main window" test "$(e2e_size "$main" 2>/dev/null)" = 630x625

e2e_kill_editor

# ---- A file a save would lose records of: the warning between the range and the main window ----
e2e_start_editor "$game" "$(e2e_winpath "$game/demo_messy.btl")"
if e2e_dismiss_box "操作提示" 60; then
  range=$(e2e_wait_window "^btl_editor\$" 30)
  size=$(e2e_size "$range")
  e2e_key "$range" x
  check "after X the warning about the save comes" wait_for 30 e2e_window_found "^提示\$"
  e2e_dismiss_box "^提示\$" 10
  main=$(e2e_main_after "$size")
  check "after it the main window opens" test -n "$main"
else
  check "demo_messy.btl given on the command line reaches the range window" false
fi
e2e_kill_editor

# ---- Started elsewhere: the data beside the program is used ----
E2E_EDITOR_EXE=$game/btl_editor.exe e2e_start_editor "$work/elsewhere" "$(e2e_winpath "$work/my scenarios/small one.btl")"
check "started from a folder without 数据, the program's own folder serves" wait_for 60 e2e_window_found "^操作提示\$"
main=$(to_main_from_range)
check "and the main window opens" test -n "$main"
e2e_kill_editor

# ---- Neither folder holds the data ----
E2E_EDITOR_EXE=$work/bare/btl_editor.exe e2e_start_editor "$work/elsewhere"
check "with no data anywhere one box says so" wait_for 60 e2e_window_found "^找不到游戏数据\$"
check "and there is no notice before it" no_window "Halvorn3BTL"
e2e_dismiss_box "^找不到游戏数据\$" 10
check "after it the editor ends with status 1" e2e_editor_ended_with 1 30
check "no second box follows" no_window "^找不到游戏数据\$"
