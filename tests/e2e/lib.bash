# Driving the real editor under Wine on a virtual display with xdotool. Sourced by the
# end-to-end tests and the demo run. Every wait has a time limit; `e2e_stop` ends what was
# started (the Xvfb server and the editor's process group).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${BTL_BUILD:-$root/build}
source "$root/scripts/wine_setup.sh"
editor_exe=$build/win/app/btl_editor.exe
xvfb_pid=
editor_pid=

# Starts Xvfb on the first free display number (scripts/wine_setup.sh) and exports DISPLAY;
# ends any Wine session of the prefix, so the editor's session starts on this display.
e2e_start_display() {
  xvfb_start 90 130 || { unset DISPLAY; return 1; }
  export DISPLAY=$xvfb_display
  wine_restart
}

# Starts the editor in folder $1 (holding 数据 and 图片).
# The editor runs in a session of its own, under a bash that waits for wine (the Windows
# program runs in wine's own process, so wine's status is the program's exit status) and then
# writes that status into editor_status_file. The bash's pid, which is also the session's
# process group id, goes into editor_group_file so that e2e_stop ends exactly that group and
# the state helpers below watch exactly this editor (other clones may be running editors too).
editor_group_file=$build/e2e_editor.pgid
editor_status_file=$build/e2e_editor.status
e2e_start_editor() {
  rm -f "$editor_group_file" "$editor_status_file"
  (cd "$1" && setsid bash -c 'echo $$ >"$1"
      LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 wine "$0"
      echo $? >"$2.new" && mv "$2.new" "$2"' \
     "$editor_exe" "$editor_group_file" "$editor_status_file" >"$build/e2e_editor.log" 2>&1) &
  editor_pid=$!
}

# The state of the editor started last: its exit status once it has ended, "running" while it
# runs, "killed" when its watching bash ended without recording a status (a signal), "none"
# when no editor was started. Whether the process lives is looked at before the status file,
# so a status written in between is still seen.
e2e_editor_state() {
  [ -n "$editor_pid" ] || { echo none; return; }
  local leader alive=false
  leader=$(cat "$editor_group_file" 2>/dev/null)
  if kill -0 "$editor_pid" 2>/dev/null || { [ -n "$leader" ] && kill -0 "$leader" 2>/dev/null; }; then
    alive=true
  fi
  if [ -s "$editor_status_file" ]; then cat "$editor_status_file"
  elif $alive; then echo running
  else echo killed
  fi
}

# Waits up to $1 seconds (default 10) for the editor started last to end; prints its state
# (its exit status, or "running" when the time ran out).
e2e_wait_editor_end() {
  local state
  for _ in $(seq $((${1:-10} * 10))); do
    state=$(e2e_editor_state)
    [ "$state" != running ] && { echo "$state"; return 0; }
    sleep 0.1
  done
  echo running
}

# Conditions for `check`: the editor ended within $2 seconds (default 10) with status $1; the
# editor is still running.
e2e_editor_ended_with() { test "$(e2e_wait_editor_end "${2:-10}")" = "$1"; }
e2e_editor_running() { test "$(e2e_editor_state)" = running; }

# Ends what was started. Safe under `set -e`: nothing here may stop a script half-way.
e2e_stop() {
  for k in x X s S c C u U t T b B j J g G p P y Y z Z ctrl shift Left Right Up Down Escape alt; do xdotool keyup "$k" 2>/dev/null || true; done
  if [ -n "$editor_pid" ]; then
    local group
    group=$(cat "$editor_group_file" 2>/dev/null || true)
    [ -n "$group" ] && { kill -TERM -- -"$group" 2>/dev/null || true; }
    kill "$editor_pid" 2>/dev/null || true
  fi
  [ -n "$xvfb_pid" ] && { kill "$xvfb_pid" 2>/dev/null || true; }
  wineserver -k 2>/dev/null || true
  editor_pid= xvfb_pid=
}

# Waits up to $2 seconds (default 20) for a window whose name matches $1; prints its id.
e2e_wait_window() {
  local name=$1 limit=${2:-20} id
  for _ in $(seq $((limit * 10))); do
    id=$(xdotool search --name "$name" 2>/dev/null | head -n1)
    if [ -n "$id" ] && xdotool getwindowgeometry "$id" >/dev/null 2>&1; then echo "$id"; return 0; fi
    sleep 0.1
  done
  return 1
}

e2e_gone() {  # waits until no window matches $1
  for _ in $(seq 100); do xdotool search --name "$1" >/dev/null 2>&1 || return 0; sleep 0.1; done
  return 1
}

# Clicks client point (x, y) of window $1 with button $4 (default 1).
e2e_click() {
  xdotool mousemove --window "$1" "$2" "$3" click "${4:-1}" || return 1
  sleep 0.25
}

# Moves the pointer off the map area of main window $1, onto the black corner between the two
# scroll bars: a pointer resting on a hex shows the information box over the map, and a
# screenshot of the map must not hold it. The next frame (every 20 ms) has it gone.
e2e_pointer_off_map() {
  local WIDTH HEIGHT X Y SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null)" || return 1
  xdotool mousemove --window "$1" $((WIDTH - 15)) $((HEIGHT - 85)) || return 1
  sleep 0.2
}

# Waits up to $2 seconds for no window to match $1.
e2e_gone_within() {
  for _ in $(seq $(($2 * 10))); do xdotool search --name "$1" >/dev/null 2>&1 || return 0; sleep 0.1; done
  return 1
}

# Clicks at offset $3 from the bottom centre of the box titled $1 until it goes away (a box
# just mapped may not take the first click).
e2e_click_box() {
  local id
  id=$(e2e_wait_window "$1" "$2") || return 1
  for _ in 1 2 3 4 5 6; do
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)" || return 0
    xdotool mousemove $((X + WIDTH / 2 + $3)) $((Y + HEIGHT - 24)) click 1
    e2e_gone_within "$1" 3 && return 0
  done
  return 1
}

# Presses the default button of a message box window (bottom centre of its client area).
e2e_dismiss_box() { e2e_click_box "$1" "${2:-20}" 0; }

# Gives window $1 the focus (a window just mapped may refuse it for a moment).
e2e_focus() {
  for _ in $(seq 30); do
    xdotool windowfocus "$1" 2>/dev/null
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && { sleep 0.2; return 0; }
    sleep 0.2
  done
  return 1
}

# Holds key $2 for 150 ms with window $1 focused.
e2e_key() {
  e2e_focus "$1"
  xdotool keydown "$2"; sleep 0.15; xdotool keyup "$2"
  sleep 0.3
}

# The Windows form of an absolute path (Wine's drive Z: is the root).
e2e_winpath() { echo "Z:${1//\//\\}"; }

# Waits up to 15 s for file $1 to exist and stop growing.
e2e_wait_file() {
  local last=-1 now
  for _ in $(seq 150); do
    if [ -f "$1" ]; then
      now=$(stat -c %s "$1")
      [ "$now" = "$last" ] && return 0
      last=$now
    fi
    sleep 0.1
  done
  return 1
}

# Clicks button $2 ("left" or "right" of two) of the message box titled $1.
e2e_answer_box() {
  local dx=-45
  [ "$2" = right ] && dx=45
  e2e_click_box "$1" 20 "$dx"
}

# Types $2 into the file dialog titled $1 and confirms.
e2e_file_dialog() {
  local id
  id=$(e2e_wait_window "$1" 20) || return 1
  e2e_focus "$id"
  xdotool type --delay 20 "$2"; sleep 0.2
  xdotool key Return
  e2e_gone "^$1\$"
}

# Pixel of window $1 at (x, y) as "r,g,b" (from a fresh capture into $3). The capture is
# retried with a time limit: it can stall when the window changes under it.
e2e_pixel() {
  local shot=${3:-$build/e2e_shot.png}
  for _ in 1 2 3; do
    rm -f "$shot"
    timeout 10 import -window "$1" "$shot" 2>/dev/null && [ -s "$shot" ] && break
    sleep 0.5
  done
  timeout 10 convert "$shot" -format '%[fx:int(255*p{'"$2"'}.r)],%[fx:int(255*p{'"$2"'}.g)],%[fx:int(255*p{'"$2"'}.b)]' info: 2>/dev/null
}

# Opens a battle file in a started editor up to the main window; prints the main window's id.
# $1 is an absolute path, or a file name alone for a file in the editor's current folder
# (where the open dialog starts): xdotool cannot type a path that holds Chinese.
e2e_open_to_main() {
  local typed=$1
  [[ $typed == /* ]] && typed=$(e2e_winpath "$1")
  e2e_dismiss_box "Halvorn3BTL" 60 || { echo "no start-up notice" >&2; return 1; }
  e2e_file_dialog "打开" "$typed" || { echo "no open dialog" >&2; return 1; }
  e2e_dismiss_box "操作提示" 30 || { echo "no range instructions" >&2; return 1; }
  local range size id
  range=$(e2e_wait_window "^btl_editor\$" 10) || return 1
  size=$(xdotool getwindowgeometry "$range" | grep -o '[0-9]*x[0-9]*$')
  e2e_key "$range" x
  # The main window replaces the range window (Wine may reuse its X window): wait for a
  # window of the program's name and another size.
  # A window the search lists may be gone by the time it is asked for its size (no size at
  # all is not another size), and one found may be dropped during the pause: it must still be
  # there, with its new size, afterwards.
  local now
  for _ in $(seq 100); do
    for id in $(xdotool search --name "^btl_editor\$" 2>/dev/null); do
      now=$(xdotool getwindowgeometry "$id" 2>/dev/null | grep -o '[0-9]*x[0-9]*$')
      [ -n "$now" ] && [ "$now" != "$size" ] || continue
      sleep 0.5
      [ "$(xdotool getwindowgeometry "$id" 2>/dev/null | grep -o '[0-9]*x[0-9]*$')" = "$now" ] || continue
      echo "$id"; return 0
    done
    sleep 0.1
  done
  return 1
}

# ---- Dialogs -------------------------------------------------------------------------------
# The dialogs are placed at (0, 0) of the main window and their X window is their client
# area. Template coordinates are dialog units of the dialogs' font; the scale is measured on
# a dialog that did not grow to hold run-time windows (its client area is then its template's
# size) and used for the others.
e2e_du_w=0 e2e_du_tw=1 e2e_du_h=0 e2e_du_th=1

# Takes the dialog-unit scale from window $1, whose template is $2 x $3 dialog units.
e2e_measure_dialog_units() {
  local WIDTH HEIGHT X Y SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null)" || return 1
  e2e_du_w=$WIDTH e2e_du_tw=$2 e2e_du_h=$HEIGHT e2e_du_th=$3
}

# Client pixel (x y) of dialog-unit point ($1, $2).
e2e_du_point() {
  echo "$(( ($1 * e2e_du_w + e2e_du_tw / 2) / e2e_du_tw )) $(( ($2 * e2e_du_h + e2e_du_th / 2) / e2e_du_th ))"
}

# Clicks dialog-unit point ($2, $3) of dialog window $1.
e2e_click_du() {
  local p
  p=$(e2e_du_point "$2" "$3")
  e2e_click "$1" ${p% *} ${p#* }
}

# Replaces the text of the focused edit (or combo box edit field) with $1.
e2e_replace_text() {
  xdotool key End shift+Home
  xdotool type --delay 30 "$1"
  sleep 0.2
}

# Presses key $1 once, for a focused control (a combo box steps its selection).
e2e_press() { xdotool key "$1"; sleep 0.3; }

# Closes the dialog titled $1 through its close command (Alt+F4), first clicking client
# point ($2, $3) of it, which must be a harmless spot: the keys go to the window that holds
# the focus (the X focus and, inside Wine, the focused control of the dialog's thread), and
# with the focus still on the main window Alt+F4 would end the program.
e2e_close_dialog() {
  local id
  for _ in 1 2 3; do
    id=$(xdotool search --name "$1" 2>/dev/null | head -n1)
    [ -z "$id" ] && return 0
    e2e_focus "$id" || return 1
    xdotool mousemove --window "$id" "$2" "$3" click 1 2>/dev/null || return 1
    sleep 0.3
    xdotool keydown alt; sleep 0.1; xdotool key F4; sleep 0.1; xdotool keyup alt
    e2e_gone_within "$1" 5 && return 0
  done
  return 1
}

# One capture of window $1 into file $2, retried with a time limit.
e2e_capture() {
  for _ in 1 2 3; do
    rm -f "$2"
    timeout 10 import -window "$1" "$2" 2>/dev/null && [ -s "$2" ] && return 0
    sleep 0.5
  done
  return 1
}

# Pixel (x, y) of capture $1 as "r,g,b".
e2e_pixel_in() {
  timeout 10 convert "$1" -format '%[fx:int(255*p{'"$2"'}.r)],%[fx:int(255*p{'"$2"'}.g)],%[fx:int(255*p{'"$2"'}.b)]' info: 2>/dev/null
}

# Counting checks for a suite: `check NAME CONDITION...`; `e2e_finish LABEL` (on EXIT) shows
# the screen on a failure, stops everything, removes $work and prints "LABEL: N passed, N failed".
passed=0 failed=0
check() {
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "ok: $name"; else failed=$((failed + 1)); echo "FAILED: $name"; fi
}
e2e_finish() {
  if [ "$failed" -gt 0 ] && [ -n "${DISPLAY:-}" ]; then
    import -window root "$build/e2e_failure.png" 2>/dev/null && echo "screen at the failure: $build/e2e_failure.png"
    xdotool search --name . 2>/dev/null | while read -r w; do echo "window: $(xdotool getwindowname "$w")"; done
    tail -n 20 "$build/e2e_editor.log"
  fi
  e2e_stop
  rm -rf "${work:-}"
  echo "$1: $passed passed, $failed failed"
  exit $((failed > 0))  # a bare exit in a trap would keep the status from before the trap
}
