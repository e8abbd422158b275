#!/usr/bin/env bash
# The README's run command, scripts/run_demo.sh, as a user without a display runs it: from a
# Wine prefix not yet made and no Wine session running, it must end with status 0 and name a
# screenshot of the main window, which must have the main window's size (the layout the core
# computes for the demo configuration and file) and show the scenario's map. Then a broken
# step must be named on stderr with status 1.
#
# The run command decides by DISPLAY whether to start the editor for the user: this suite
# clears it, whatever the environment of the test command, so it never touches a real display.
set -u
unset DISPLAY
source "$(dirname "$0")/../../scripts/lib/harness.bash"
work=$(mktemp -d)
finish() {
  (export WINEPREFIX=$work/prefix; wine_restart)  # nothing of the runs may outlive the suite
  rm -rf "$work" "$e2e_dir"
  checks_line "demo run e2e"
  exit $((failed > 0))  # a bare exit in a trap would keep the status from before the trap
}
trap finish EXIT
trap 'exit 1' INT TERM

# run_demo.sh with a prefix of the suite's own ($1, made by the run when missing), a demo folder
# and screenshot of its own and any extra environment ($2...); output into $work/out and
# $work/err. Prints nothing; the status is the script's.
run_demo() {
  local prefix=$1; shift
  env -u DISPLAY WINEPREFIX="$prefix" BTL_BUILD="$build" BTL_DEMO="$work/demo" \
    BTL_DEMO_SHOT="$work/demo_screenshot.png" "$@" \
    timeout 400 bash "$root/scripts/run_demo.sh" >"$work/out" 2>"$work/err"
}
show_run() { echo "-- its output:"; tail -n 20 "$work/out"; echo "-- its errors:"; tail -n 20 "$work/err"; }

# ---- From nothing: no prefix, no Wine session ----------------------------------------------
prefix=$work/prefix
succeeds() { run_demo "$prefix" || { echo "status $?"; show_run; return 1; }; }
check "run_demo.sh without a display, from a prefix not yet made, succeeds" succeeds

shot=$(sed -n 's/^screenshot of the main window: //p' "$work/out" | tail -n1)
check "it names a screenshot that exists" test -n "$shot" -a -s "${shot:-/nonexistent}"
[ -s "${shot:-/nonexistent}" ] || exit 1

# What the main window must be, from the core, for the file the run opened.
facts=$(cd "$work/demo" && "$build/native/tests/main_window_facts" demo_large.btl) ||
  { check "the core computes the main window's layout" false; exit 1; }
eval "$facts"
size=$(identify -format '%wx%h' "$shot" 2>/dev/null)
check "the screenshot is the main window's size, ${window_width}x$window_height (got $size)" \
  test "$size" = "${window_width}x$window_height"

# The map area (the window's top-left map_width x map_height) is filled with hexes: at least
# half of its pixels must be fill colours of the scenario's hexes, and where the run scrolled
# to (teams meeting at the coast) at least three of them must show. A black or blank window,
# the range window or another picture fails.
histogram=$(convert "$shot" -crop "${map_width}x$map_height+0+0" +repage -format %c histogram:info:- 2>/dev/null)
map_pixels=$((map_width * map_height))
counted=$(echo "$histogram" | awk -v want="$map_colours" '
  BEGIN { n = split(want, w, " "); for (i = 1; i <= n; i++) wanted[toupper(w[i])] = 1 }
  { for (i = 1; i <= NF; i++) if (substr($i, 1, 1) == "#" && toupper(substr($i, 1, 7)) in wanted) {
      total += $1 + 0; seen[toupper(substr($i, 1, 7))] = 1 } }
  END { kinds = 0; for (c in seen) kinds++; print total + 0, kinds }')
in_colours=${counted% *} kinds=${counted#* }
check "the map shows the scenario's hex colours ($in_colours of $map_pixels pixels, $kinds colours)" \
  test $((in_colours * 2)) -ge "$map_pixels" -a "$kinds" -ge 3

# ---- A broken step is named, with status 1 -------------------------------------------------
# Fake programs first on PATH: a Wine that cannot make a prefix, an X server that cannot start.
mkdir -p "$work/bin/no_wineboot" "$work/bin/no_xvfb"
printf '#!/bin/sh\necho "wineboot: cannot make the prefix" >&2\nexit 1\n' >"$work/bin/no_wineboot/wineboot"
printf '#!/bin/sh\nexit 1\n' >"$work/bin/no_xvfb/Xvfb"
chmod +x "$work/bin/no_wineboot/wineboot" "$work/bin/no_xvfb/Xvfb"
named_failure() {  # FAKE-FOLDER PREFIX STEP: status 1, "run_demo: STEP failed" on stderr, no screenshot
  run_demo "$2" PATH="$work/bin/$1:$PATH"
  local rc=$?
  [ "$rc" -eq 1 ] && grep -q "^run_demo: $3 failed" "$work/err" && ! grep -q '^screenshot' "$work/out" ||
    { echo "status $rc"; show_run; return 1; }
}
check "a prefix Wine cannot make is named: status 1 and a message" \
  named_failure no_wineboot "$work/prefix_not_made" "setting up the Wine prefix"
check "a virtual display that cannot start is named: status 1 and a message" \
  named_failure no_xvfb "$prefix" "starting a virtual display"
