# The one shell library of the test suites and the run scripts: Wine (prefix and server), the
# virtual display, driving the editor with xdotool (every wait is `wait_for`: it polls for a
# state, with a time limit on the wall clock), pixel reads, the byte readers of battle files
# and the pass/fail counter with its closing line "LABEL: N passed, N failed".
#
# A suite that runs Windows programs calls `e2e_begin` first: it gets a run folder of its own
# ($e2e_dir: the editor's bookkeeping files, captures, logs) and a Wine prefix of its own, a
# copy of the build's prefix, so copies of it and other suites can run side by side; it ends
# with `e2e_finish LABEL` (on EXIT). See docs/ARCHITECTURE.md, "Test scripts".
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
: "${BTL_BUILD:=$root/build}"
export BTL_BUILD
build=$BTL_BUILD
editor_exe=$build/win/app/btl_editor.exe

# ---- Wine: prefix and server ----------------------------------------------------------------
# The build's own prefix (never the user's ~/.wine), made once; the suites run in copies of it.
wine_template=$build/wine-prefix
export WINEPREFIX=${WINEPREFIX:-$wine_template}
export WINEDEBUG=-all
export WINEARCH=win64

# Makes the prefix $WINEPREFIX when it is missing. Fails with a message on stderr when Wine
# cannot make it.
wine_prefix_ready() {
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  echo "setting up the Wine prefix in $WINEPREFIX"
  mkdir -p "$WINEPREFIX" || return 1
  # No Mono or Gecko installers: they would open a blocking dialog.
  local log=$WINEPREFIX.wineboot.log
  WINEDLLOVERRIDES="mscoree,mshtml=" timeout 300 wineboot -i >"$log" 2>&1
  local rc=$?
  timeout 120 wineserver -w || true
  if [ "$rc" -ne 0 ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wineboot could not make the Wine prefix $WINEPREFIX (status $rc); its output:" >&2
    tail -n 20 "$log" >&2
    return 1
  fi
  rm -f "$log"
}

# Gives this run prefix $1 of its own: a copy of the build's prefix (made first when missing,
# by one run at a time), so that its Wine server serves this run alone. Exports WINEPREFIX.
# The system's DLLs (nine tenths of the prefix's 700 MB, which Wine only maps) are hard links
# to the build's prefix; the registry and every other file are copies of this run's own.
wine_prefix_own() {
  (
    flock 9
    WINEPREFIX=$wine_template wine_prefix_ready
  ) 9>"$wine_template.lock" || return 1
  local dlls=(drive_c/windows/system32 drive_c/windows/syswow64 drive_c/windows/winsxs) d
  rm -rf "$1" && mkdir -p "$1" &&
    tar -C "$wine_template" "${dlls[@]/#/--exclude=./}" -cf - . | tar -C "$1" -xf - ||
    { echo "cannot copy the Wine prefix into $1" >&2; return 1; }
  for d in "${dlls[@]}"; do
    [ -d "$wine_template/$d" ] || continue
    cp -al "$wine_template/$d" "$1/$d" 2>/dev/null || cp -a "$wine_template/$d" "$1/$d" ||
      { echo "cannot copy $d of the Wine prefix into $1" >&2; return 1; }
  done
  export WINEPREFIX=$1
}

# Wine in the Chinese locale (code page 936, Chinese file names and captions). Only Wine gets
# it: xdotool must keep the C locale to match non-ASCII window names.
wine_zh() {
  LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 wine "$@"
}

# Ends the running Wine session of the prefix, so the next program starts one on the current
# display (a session started without a display cannot show windows later). `wineserver -k`
# fails when no session is running: that is not an error here (scripts under `set -e`).
wine_restart() {
  wineserver -k 2>/dev/null || true
  timeout 60 wineserver -w 2>/dev/null || true
}

# ---- Waiting -------------------------------------------------------------------------------
# wait_for SECONDS COMMAND...: runs COMMAND until it succeeds, every 0.1 s, for up to SECONDS
# of wall-clock time (under load a try takes longer, the limit stays). Status 1 when the time
# ran out. Limits are generous: a wait that succeeds costs only the time the state took.
wait_for() {
  local limit=$1 start now
  shift
  start=${EPOCHREALTIME/[.,]/}
  while :; do
    "$@" && return 0
    now=${EPOCHREALTIME/[.,]/}
    [ $((now - start)) -ge $((limit * 1000000)) ] && return 1
    sleep 0.1
  done
}

# wait_steady SECONDS COMMAND...: waits until COMMAND prints the same output twice in a row,
# 0.3 s apart (a window's size, a file's length); prints it.
wait_steady() {
  local limit=$1 last= now start
  shift
  start=${EPOCHREALTIME/[.,]/}
  while :; do
    now=$("$@" 2>/dev/null)
    [ -n "$now" ] && [ "$now" = "$last" ] && { echo "$now"; return 0; }
    last=$now
    [ $((${EPOCHREALTIME/[.,]/} - start)) -ge $((limit * 1000000)) ] && return 1
    sleep 0.3
  done
}

# ---- The virtual display -------------------------------------------------------------------
# Starts a virtual display (Xvfb) on the first free number from $1 to $2 (default :90 to
# :180) and waits until it answers; sets xvfb_pid and xvfb_display (":N"). Copies of the
# tests run side by side: a number whose lock file exists is taken, and a server that ends
# at once or whose lock file names another server lost its number to a copy that started at
# the same moment, so the next number is tried. Fails with a message when none started.
xvfb_answers() {  # DISPLAY PID: the server answers and its lock file names it
  DISPLAY=$1 xdotool getmouselocation >/dev/null 2>&1 &&
    [ "$(tr -d ' \n' <"/tmp/.X${1#:}-lock" 2>/dev/null)" = "$2" ]
}
xvfb_start() {
  local first=${1:-90} last=${2:-180} n pid
  xvfb_pid= xvfb_display=
  for n in $(seq "$first" "$last"); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    pid=$!
    if wait_for 20 xvfb_starting ":$n" "$pid" && xvfb_answers ":$n" "$pid"; then
      xvfb_pid=$pid xvfb_display=":$n"
      return 0
    fi
    kill "$pid" 2>/dev/null || true
  done
  echo "no virtual display could be started (Xvfb on :$first to :$last)" >&2
  return 1
}
# Done waiting for server $2 on $1: it answers, or it has ended (lost its number).
xvfb_starting() { xvfb_answers "$1" "$2" || ! kill -0 "$2" 2>/dev/null; }

# A virtual display of its own for the duration of one command.
with_display() {
  local xvfb_pid xvfb_display rc  # local: a display the caller started stays its own
  xvfb_start 140 180 || return 1
  wine_restart
  DISPLAY=$xvfb_display "$@"
  rc=$?
  wineserver -k 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  return $rc
}

# ---- Checks --------------------------------------------------------------------------------
# `check NAME COMMAND...` counts one check: "ok: NAME", or "FAILED: NAME" with the end of the
# command's output (which is kept out of the log otherwise). The command runs in this shell:
# the variables it sets stay. `pass NAME` and `fail NAME [DETAIL]` count one directly.
# `checks_line LABEL` prints the closing line "LABEL: N passed, N failed"; status 1 on a failure.
passed=0 failed=0
check_out=${TMPDIR:-/tmp}/btl_check.$$
pass() { passed=$((passed + 1)); echo "ok: $1"; }
fail() { failed=$((failed + 1)); echo "FAILED: $1${2:+: $2}"; }
check() {
  local name=$1
  shift
  if "$@" >"$check_out" 2>&1; then pass "$name"; else
    fail "$name"
    tail -n 40 "$check_out"
  fi
  rm -f "$check_out"
}
checks_line() {
  echo "$1: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

# ---- Byte readers: little-endian numbers of file $1 at byte offset $2 ----------------------
u8_at() { od -An -tu1 -j "$2" -N1 "$1" | tr -d ' '; }
u16_at() { od -An -tu2 -j "$2" -N2 "$1" | tr -d ' '; }
u32_at() { od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '; }
i32_at() { od -An -td4 -j "$2" -N4 "$1" | tr -d ' '; }
f32_at() { od -An -tf4 -j "$2" -N4 "$1" | tr -d ' '; }

# ---- The demo data -------------------------------------------------------------------------
# Generates the demo game data folder into $1 (数据, 图片 and the demo battle files): every
# suite makes its own and depends on no other suite's.
e2e_demo_data() {
  "$build/native/tools/demo_data/make_demo_data" "$1" >/dev/null
}
# The demo data made aside, then only NAME... of it (folders or files) moved into $1.
e2e_demo_subset() {
  local dest=$1 made=$1/.demo
  shift
  e2e_demo_data "$made" || return 1
  local name
  for name in "$@"; do mv "$made/$name" "$dest/" || return 1; done
  rm -rf "$made"
}

# ---- A run of the editor -------------------------------------------------------------------
# The run folder: the editor's bookkeeping files, captures and logs of this run alone.
e2e_dir=$(mktemp -d)
editor_group_file=$e2e_dir/editor.pgid
editor_status_file=$e2e_dir/editor.status
editor_log=$e2e_dir/editor.log
xvfb_pid=
editor_pid=

# For a suite that runs Windows programs: a Wine prefix of its own in the run folder.
e2e_begin() {
  wine_prefix_own "$e2e_dir/prefix"
}

# Starts Xvfb on the first free display number and exports DISPLAY; ends any Wine session of
# the prefix, so the editor's session starts on this display.
e2e_start_display() {
  xvfb_start 90 139 || { unset DISPLAY; return 1; }
  export DISPLAY=$xvfb_display
  wine_restart
}

# Starts the editor in folder $1 (holding 数据 and 图片, or not: it may find them beside the
# program) with the arguments that follow; E2E_EDITOR_EXE names another copy of the program.
# The editor runs in a session of its own, under a bash that waits for wine (the Windows
# program runs in wine's own process, so wine's status is the program's exit status) and then
# writes that status into editor_status_file. The bash's pid, which is also the session's
# process group id, goes into editor_group_file so that e2e_stop ends exactly that group and
# the state helpers below watch exactly this editor.
e2e_start_editor() {
  local folder=$1; shift
  rm -f "$editor_group_file" "$editor_status_file"
  (cd "$folder" && setsid bash -c 'exe=$0 group=$1 status=$2; shift 2; echo $$ >"$group"
      LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 wine "$exe" "$@"
      echo $? >"$status.new" && mv "$status.new" "$status"' \
     "${E2E_EDITOR_EXE:-$editor_exe}" "$editor_group_file" "$editor_status_file" "$@" >>"$editor_log" 2>&1) &
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

# Waits up to $1 seconds (default 30) for the editor started last to end; prints its state
# (its exit status, or "running" when the time ran out).
e2e_editor_ended() { [ "$(e2e_editor_state)" != running ]; }
e2e_wait_editor_end() {
  wait_for "${1:-30}" e2e_editor_ended
  e2e_editor_state
}

# Conditions for `check`: the editor ended within $2 seconds (default 30) with status $1; the
# editor is still running.
e2e_editor_ended_with() { test "$(e2e_wait_editor_end "${2:-30}")" = "$1"; }
e2e_editor_running() { test "$(e2e_editor_state)" = running; }

# Ends the editor started last without asking it (its group), keeping the display.
e2e_kill_editor() {
  local group
  group=$(cat "$editor_group_file" 2>/dev/null)
  [ -n "$group" ] && { kill -TERM -- -"$group"; } 2>/dev/null
  e2e_wait_editor_end 20 >/dev/null
}

# Ends what was started. Safe under `set -e`: nothing here may stop a script half-way.
e2e_stop() {
  if [ -n "${DISPLAY:-}" ]; then
    for k in x X s S c C u U t T b B j J g G p P y Y z Z ctrl shift Left Right Up Down Escape alt; do
      xdotool keyup "$k" 2>/dev/null || true
    done
  fi
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

# e2e_stop, then the run folder goes (with the prefix of its own, once its server has ended).
e2e_cleanup() {
  e2e_stop
  case $WINEPREFIX in "$e2e_dir"/*) timeout 30 wineserver -w 2>/dev/null || true ;; esac
  rm -rf "$e2e_dir"
}

# The opening of an end-to-end suite: a Wine prefix of its own, a work folder $work, and on
# EXIT the shell command RELEASE (keys a suite may leave held), then e2e_finish LABEL.
#   e2e_suite LABEL [RELEASE]
e2e_suite() {
  e2e_begin || exit 1
  e2e_label=$1 e2e_release=${2:-}
  trap '[ -n "$e2e_release" ] && eval "$e2e_release"; e2e_finish "$e2e_label"' EXIT
  trap 'exit 1' INT TERM
  work=$(mktemp -d)
}

# On EXIT of a suite: shows the screen on a failure, stops everything, removes $work and the
# run folder and prints "LABEL: N passed, N failed".
e2e_finish() {
  if [ "$failed" -gt 0 ] && [ -n "${DISPLAY:-}" ]; then
    local shot=$build/e2e_failure_${1// /_}_$$.png
    import -window root "$shot" 2>/dev/null && echo "screen at the failure: $shot"
    xdotool search --name . 2>/dev/null | while read -r w; do echo "window: $(xdotool getwindowname "$w")"; done
    tail -n 20 "$editor_log" 2>/dev/null
  fi
  e2e_cleanup
  rm -rf "${work:-}"
  checks_line "$1"
  exit $((failed > 0))  # a bare exit in a trap would keep the status from before the trap
}

# ---- Windows -------------------------------------------------------------------------------
# The id of a window whose name matches $1 and that still answers for its size.
e2e_window_now() {
  local id
  id=$(xdotool search --name "$1" 2>/dev/null | head -n1)
  [ -n "$id" ] && xdotool getwindowgeometry "$id" >/dev/null 2>&1 && echo "$id"
}
# Waits up to $2 seconds (default 30) for a window whose name matches $1; prints its id.
e2e_wait_window() {
  local id
  wait_for "${2:-30}" e2e_window_found "$1" || return 1
  echo "$e2e_found"
}
e2e_window_found() { e2e_found=$(e2e_window_now "$1"); [ -n "$e2e_found" ]; }

e2e_no_window() { ! xdotool search --name "$1" >/dev/null 2>&1; }
# Waits up to $2 seconds (default 20) for no window to match $1.
e2e_gone_within() { wait_for "${2:-20}" e2e_no_window "$1"; }
e2e_gone() { e2e_gone_within "$1" 20; }

# The client size "WxH" of window $1.
e2e_size() { xdotool getwindowgeometry "$1" 2>/dev/null | grep -o '[0-9]*x[0-9]*$'; }

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

# Clicks at offset $3 from the bottom centre of the box titled $1 (waited for up to $2
# seconds) until it goes away (a box just mapped may not take the first click).
e2e_click_box() {
  local id X Y WIDTH HEIGHT SCREEN WINDOW
  id=$(e2e_wait_window "$1" "$2") || return 1
  for _ in 1 2 3 4 5 6; do
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)" || return 0
    xdotool mousemove $((X + WIDTH / 2 + $3)) $((Y + HEIGHT - 24)) click 1
    e2e_gone_within "$1" 5 && return 0
  done
  return 1
}

# Presses the default button of a message box window (bottom centre of its client area).
e2e_dismiss_box() { e2e_click_box "$1" "${2:-30}" 0; }

# Clicks button $2 ("left" or "right" of two) of the message box titled $1.
e2e_answer_box() {
  local dx=-45
  [ "$2" = right ] && dx=45
  e2e_click_box "$1" 30 "$dx"
}

# Gives window $1 the focus (a window just mapped may refuse it for a moment).
e2e_has_focus() {
  xdotool windowfocus "$1" 2>/dev/null
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]
}
e2e_focus() { wait_for 15 e2e_has_focus "$1" && sleep 0.2; }

# Holds key $2 for 150 ms with window $1 focused (the editor polls its keys).
e2e_key() {
  e2e_focus "$1"
  xdotool keydown "$2"; sleep 0.15; xdotool keyup "$2"
  sleep 0.3
}

# Presses key $1 once, for a focused control (a combo box steps its selection).
e2e_press() { xdotool key "$1"; sleep 0.3; }

# Replaces the text of the focused edit (or combo box edit field) with $1.
e2e_replace_text() {
  xdotool key End shift+Home
  xdotool type --delay 30 "$1"
  sleep 0.2
}

# The Windows form of an absolute path (Wine's drive Z: is the root).
e2e_winpath() { echo "Z:${1//\//\\}"; }

# Waits up to $2 seconds (default 30) for file $1 to exist and stop growing.
e2e_file_size() { [ -f "$1" ] && stat -c %s "$1"; }
e2e_wait_file() { wait_steady "${2:-30}" e2e_file_size "$1" >/dev/null; }

# Types $2 into the file dialog titled $1 and confirms.
e2e_file_dialog() {
  local id
  id=$(e2e_wait_window "$1" 30) || return 1
  e2e_focus "$id"
  xdotool type --delay 20 "$2"; sleep 0.2
  xdotool key Return
  e2e_gone "^$1\$"
}

# Opens a battle file in a started editor up to the main window; prints the main window's id.
# $1 is an absolute path, or a file name alone for a file in the editor's current folder
# (where the open dialog starts): xdotool cannot type a path that holds Chinese.
e2e_open_to_main() {
  local typed=$1 range size
  [[ $typed == /* ]] && typed=$(e2e_winpath "$1")
  e2e_dismiss_box "Halvorn3BTL" 90 || { echo "no start-up notice" >&2; return 1; }
  e2e_file_dialog "打开" "$typed" || { echo "no open dialog" >&2; return 1; }
  e2e_dismiss_box "操作提示" 30 || { echo "no range instructions" >&2; return 1; }
  range=$(e2e_wait_window "^btl_editor\$" 30) || return 1
  size=$(e2e_size "$range")
  e2e_key "$range" x
  e2e_main_after "$size"
}

# Waits for the main window that replaces a range window of size $1 (Wine may reuse its X
# window): a window of the program's name and another size, still there with that size 0.5 s
# later (a window the search lists may be gone by the time it is asked, and no size at all is
# not another size). Prints its id.
e2e_main_after() {
  wait_for 30 e2e_main_found "$1" || return 1
  echo "$e2e_found"
}
e2e_main_found() {
  local id now
  for id in $(xdotool search --name "^btl_editor\$" 2>/dev/null); do
    now=$(e2e_size "$id")
    [ -n "$now" ] && [ "$now" != "$1" ] || continue
    sleep 0.5
    [ "$(e2e_size "$id")" = "$now" ] || continue
    e2e_found=$id
    return 0
  done
  return 1
}

# ---- Pixels --------------------------------------------------------------------------------
# One capture of window $1 into file $2, retried with a time limit: it can stall when the
# window changes under it.
e2e_capture() {
  for _ in 1 2 3; do
    rm -f "$2"
    timeout 20 import -window "$1" "$2" 2>/dev/null && [ -s "$2" ] && return 0
    sleep 0.5
  done
  return 1
}

# Pixel (x, y) of capture $1 as "r,g,b" (decimal), or as "RRGGBB" when $3 is "hex".
e2e_pixel_in() {
  if [ "${3:-}" = hex ]; then
    timeout 20 convert "$1" -format "%[hex:p{$2}]" info: 2>/dev/null
  else
    timeout 20 convert "$1" -format '%[fx:int(255*p{'"$2"'}.r)],%[fx:int(255*p{'"$2"'}.g)],%[fx:int(255*p{'"$2"'}.b)]' info: 2>/dev/null
  fi
}

# Pixel of window $1 at (x, y) as "r,g,b", from a fresh capture (into $3 when given).
e2e_pixel() {
  local shot=${3:-$e2e_dir/shot.png}
  e2e_capture "$1" "$shot" && e2e_pixel_in "$shot" "$2"
}

# Condition: pixel (x, y) $2 of window $1 is "r,g,b" $3. With wait_for: until it is.
e2e_pixel_is() { test "$(e2e_pixel "$1" "$2")" = "$3"; }

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
    e2e_gone_within "$1" 10 && return 0
  done
  return 1
}
