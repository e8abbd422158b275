#!/usr/bin/env bash
# The drawing window under Wine on a virtual display of its own, driven with xdotool through
# window_probe.exe: the client size, a Ctrl+click, a wheel notch and the pointer leaving the
# window as the program receives them from its window procedure, closing and reopening a window while the process goes on,
# the user's close command ending the process with status 0, and repainting from the back
# buffer (screenshots). Every wait has a time limit. Prints "N passed, N failed".
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib/harness.bash"
probe=$build/win/tests/wine/window_probe.exe
logs=$e2e_dir/logs
shots=$logs/shots

run_pids=()
finish() {
  for pid in "${run_pids[@]}"; do kill "$pid" 2>/dev/null; done
  [ "$failed" -gt 0 ] && { mkdir -p "$build/wine-logs" && rm -rf "$build/wine-logs/window.$$" &&
    cp -r "$logs" "$build/wine-logs/window.$$" && echo "the probe's logs: $build/wine-logs/window.$$"; }
  e2e_cleanup
  checks_line "window tests"
}

[ -f "$probe" ] || { fail "build" "$probe is missing (run scripts/build.sh)"; finish; exit 1; }
trap 'finish; exit 130' INT TERM
e2e_begin || { fail "setup" "no Wine prefix"; finish; exit 1; }
e2e_start_display || { fail "setup" "no virtual display"; finish; exit 1; }
mkdir -p "$shots"

# Starts probe run $1 (a name for its log) with the arguments after it; RUN_PID is its process.
probe_run() {
  local name=$1; shift
  LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 wine "$probe" "$@" >"$logs/$name.log" 2>&1 &
  RUN_PID=$!
  run_pids+=("$RUN_PID")
}

# Waits up to $2 seconds for process $1 to end; its status, or 124 when it was still running
# (it is stopped then).
pid_ended() { ! kill -0 "$1" 2>/dev/null; }
wait_pid() {
  wait_for "$2" pid_ended "$1" && { wait "$1"; return; }
  kill "$1" 2>/dev/null
  return 124
}

# xdotool with a time limit: no call may hang the run.
xdotool_bin=$(command -v xdotool)
xdotool() { timeout 10 "$xdotool_bin" "$@"; }

park_pointer() { xdotool mousemove 1279 1023 >/dev/null 2>&1; }

# The visible windows with a name, one "id name" per line.
visible_windows() {
  local id name
  for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    name=$(xdotool getwindowname "$id" 2>/dev/null)
    [ -n "$name" ] && echo "$id $name"
  done
}

# The log of probe run $1 without the console's carriage returns.
probe_log() { tr -d '\r' < "$logs/$1.log" 2>/dev/null; }

# Waits up to $3 seconds for a line matching $2 in the log of probe run $1.
log_has() { probe_log "$1" | grep -qE "$2"; }
wait_line() { wait_for "$3" log_has "$1" "$2"; }

# Waits up to $2 seconds for exactly one visible window named $1; prints its id.
one_window() {
  one_id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)
  [ -n "$one_id" ] && [ "$(echo "$one_id" | wc -l)" -eq 1 ]
}
probe_window() { wait_for "$2" one_window "$1" && echo "$one_id"; }

# Any visible window other than the probe's own is a box nobody expected.
no_strangers() {
  local strangers
  strangers=$(visible_windows | awk '$2 != "window_probe" && $2 != "cover"')
  [ -z "$strangers" ] || { fail "$1" "unexpected window: $strangers"; return 1; }
}

client_size() { eval "$(xdotool getwindowgeometry --shell "$1")"; echo "${WIDTH}x${HEIGHT}"; }

# The RRGGBB colour at client point ($2, $3) of window $1 (a screenshot of the window, $4).
pixel() {
  local file=$shots/$4.png
  e2e_capture "$1" "$file" || { echo "none"; return; }
  e2e_pixel_in "$file" "$2,$3" hex
}

user_close() {  # the close command, as a user gives it: Alt+F4 to the focused window
  e2e_focus "$1" || return 1
  xdotool keydown alt key F4 keyup alt
}

# --- Client size, a Ctrl+click and a wheel notch -----------------------------------------------

mouse_input() {
  local name=probe_mouse id
  park_pointer
  probe_run "$name" mouse 300 200
  local pid=$RUN_PID
  wait_line "$name" '^open' 30 || { fail "mouse input" "the window did not open"; return; }
  id=$(probe_window window_probe 30) || { fail "mouse input" "no window named window_probe"; return; }
  probe_log "$name" | grep -q '^open 300 200$' && [ "$(client_size "$id")" = 300x200 ] &&
    pass "a 300 x 200 window has that client size" ||
    fail "window size" "$(probe_log "$name" | grep '^open'), X window $(client_size "$id")"
  e2e_focus "$id" || { fail "mouse input" "the window took no focus"; return; }
  xdotool mousemove --window "$id" 5 7
  sleep 0.2
  xdotool keydown ctrl click 1 keyup ctrl
  sleep 0.2
  xdotool mousemove --window "$id" 40 30 click 4  # one notch away from the user
  sleep 0.2
  park_pointer  # out of the window in one jump: no move message outside it
  sleep 0.5
  no_strangers "mouse input" || return
  xdotool mousemove --window "$id" 100 100 click 3
  wait_pid "$pid" 30
  local rc=$?
  park_pointer
  probe_log "$name" |
    grep -q '^mouse code=0x201 ctrl=1 shift=0 left=1 middle=0 right=0 x=5 y=7 wheel=0$' &&
    pass "Ctrl+click arrives as 0x201 with ctrl, left and client (5, 7)" ||
    fail "click" "$(probe_log "$name" | grep '^mouse' | head -3)"
  probe_log "$name" |
    grep -q '^mouse code=0x20A ctrl=0 shift=0 left=0 middle=0 right=0 x=40 y=30 wheel=120$' &&
    pass "a wheel notch arrives as 0x20A, 120, client (40, 30)" ||
    fail "wheel" "$(probe_log "$name" | grep '0x20A' || echo none)"
  probe_log "$name" | sed -n '/x=40 y=30 wheel=120/,/code=0x204/p' |
    grep -q '^mouse code=0x2A3 ctrl=0 shift=0 left=0 middle=0 right=0 x=0 y=0 wheel=0$' &&
    pass "the pointer leaving the window arrives as 0x2A3 between the wheel and the right click" ||
    fail "leave" "$(probe_log "$name" | grep '^mouse' | tr '\n' ' ')"
  [ "$rc" -eq 0 ] && pass "the right button ended the probe" || fail "mouse probe" "status $rc"
}

# --- Closing and reopening, and the user's close -----------------------------------------------

reopen_and_close() {
  local name=probe_reopen id
  park_pointer
  probe_run "$name" reopen
  local pid=$RUN_PID
  wait_line "$name" '^first' 30 && id=$(probe_window window_probe 30) ||
    { fail "reopen" "the first window did not open"; return; }
  xdotool mousemove --window "$id" 20 20 click 1
  wait_line "$name" '^second' 30 ||
    { fail "reopen" "no second window: $(probe_log "$name" | tr '\n' ' ')"; return; }
  sleep 0.3
  id=$(probe_window window_probe 30) || { fail "reopen" "not exactly one window after reopening"; return; }
  probe_log "$name" | grep -q '^second 200 150$' && [ "$(client_size "$id")" = 200x150 ] &&
    kill -0 "$pid" 2>/dev/null &&
    pass "closed from the program, reopened at 200 x 150, the old one gone, process alive" ||
    fail "reopen" "$(probe_log "$name" | grep '^second'), X window $(client_size "$id")"
  no_strangers "reopen" || return
  user_close "$id" || { fail "user close" "the window took no focus"; return; }
  wait_pid "$pid" 30
  local rc=$?
  [ "$rc" -eq 0 ] && ! probe_log "$name" | grep -q timeout &&
    pass "the user's close command ends the process with status 0" ||
    fail "user close" "status $rc"
  park_pointer
}

# --- Repainting ---------------------------------------------------------------------------------

# The probe paints red | blue through the window. Covered by another window and uncovered,
# it must show that picture again. Wine repairs an uncovered window from its own copy of
# the window (no WM_PAINT reaches the program, as with a compositing desktop), so the path
# through the window procedure is checked apart: the probe puts a green square into the
# back buffer alone, which must not show until the window is invalidated and repaints.
repaint() {
  local name=probe_repaint id shown
  park_pointer
  probe_run "$name" repaint
  local pid=$RUN_PID
  wait_line "$name" '^drawn' 30 && id=$(probe_window window_probe 30) ||
    { fail "repaint" "the window did not open"; return; }
  sleep 0.3
  eval "$(xdotool getwindowgeometry --shell "$id")"
  local wx=$X wy=$Y
  probe_run probe_cover cover "$X" "$Y" "$WIDTH" "$HEIGHT"
  local cover=$RUN_PID
  if wait_line probe_cover '^covering' 30; then
    local during
    covered() {  # the screen shows the white cover over the window
      timeout 20 import -window root "$shots/covered.png" 2>/dev/null
      during=$(e2e_pixel_in "$shots/covered.png" "$((wx + 20)),$((wy + 20))" hex)
      [ "$during" = FFFFFF ]
    }
    wait_for 20 covered
    wait_pid "$cover" 30
    uncovered() { shown="$(pixel "$id" 20 20 uncovered) $(pixel "$id" 250 20 uncovered)"; [ "$shown" = "FF0000 0000FF" ]; }
    wait_for 20 uncovered
    [ "$during" = FFFFFF ] && [ "$shown" = "FF0000 0000FF" ] &&
      pass "a covered window shows its picture again when uncovered" ||
      fail "repaint after uncovering" "covered $during, then left and right $shown"
  else
    fail "repaint" "the cover window did not open"
  fi
  xdotool mousemove --window "$id" 10 10 click 1  # the square goes into the back buffer
  wait_line "$name" '^square' 30
  sleep 0.3  # what is to be seen is nothing showing: a moment for a wrong repaint to happen
  shown=$(pixel "$id" 120 70 square)
  # Elsewhere, so that it is no double click: the probe invalidates the whole window.
  xdotool mousemove --window "$id" 200 150 click 1
  wait_line "$name" '^invalidated' 30
  local after
  repainted() { after="$(pixel "$id" 120 70 invalidated) $(pixel "$id" 250 150 invalidated)"; [ "$after" = "00FF00 0000FF" ]; }
  wait_for 20 repainted
  shown="$shown $after"
  [ "$shown" = "FF0000 00FF00 0000FF" ] &&
    pass "the window repaints itself from the back buffer" ||
    fail "repaint from the back buffer" "square before, after, right = $shown"
  no_strangers "repaint"
  user_close "$id"
  wait_pid "$pid" 30 || true
  park_pointer
}

mouse_input
reopen_and_close
repaint
finish
