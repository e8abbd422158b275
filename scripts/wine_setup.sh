# Sourced by the test and run scripts: a Wine prefix of the project's own under the build
# folder, made once, so runs do not depend on the user's ~/.wine.
: "${BTL_BUILD:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build}"
export WINEPREFIX=${WINEPREFIX:-$BTL_BUILD/wine-prefix}
export WINEDEBUG=-all
export WINEARCH=win64

# Makes the prefix when it is missing. Fails with a message on stderr when Wine cannot make it.
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

# Wine in the Chinese locale (code page 936, Chinese file names and captions). Only Wine gets
# it: xdotool must keep the C locale to match non-ASCII window names.
wine_zh() {
  LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 wine "$@"
}

# Ends the running Wine session, so the next program starts one on the current display
# (a session started without a display cannot show windows later).
# `wineserver -k` fails when no session is running (a fresh prefix): that is not an error here,
# and the guards keep a script under `set -e` going.
wine_restart() {
  wineserver -k 2>/dev/null || true
  timeout 60 wineserver -w 2>/dev/null || true
}

# Starts a virtual display (Xvfb) on the first free number from $1 to $2 (default :90 to
# :180) and waits until it answers; sets xvfb_pid and xvfb_display (":N"). Copies of the
# tests run side by side: a number whose lock file exists is taken, and a server that ends
# at once or whose lock file names another server lost its number to a copy that started at
# the same moment, so the next number is tried. Fails with a message when none started.
xvfb_start() {
  local first=${1:-90} last=${2:-180} n pid
  xvfb_pid= xvfb_display=
  for n in $(seq "$first" "$last"); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 50); do
      if DISPLAY=":$n" xdotool getmouselocation >/dev/null 2>&1 &&
         [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$pid" ]; then
        xvfb_pid=$pid xvfb_display=":$n"
        return 0
      fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
  done
  echo "no virtual display could be started (Xvfb on :$first to :$last)" >&2
  return 1
}

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
