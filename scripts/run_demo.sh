#!/usr/bin/env bash
# The main job on the bundled demo data: builds everything, generates the demo game data
# folder and starts the editor in it under Wine. With a display ($DISPLAY set) the editor is
# yours to use. Without one it runs on a virtual display, opens the large demo scenario,
# confirms its range, saves a screenshot of the main window and prints its path.
#
# Every step is checked: a failing one is named on stderr and the script exits with status 1.
# (No `set -e`: it would end the script without a word at the first command that fails.)
# BTL_DEMO and BTL_DEMO_SHOT name another demo folder and screenshot (the tests give their own).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BTL_BUILD:-$root/build}
export BTL_BUILD=$build
source "$root/scripts/lib/harness.bash"
trap e2e_cleanup EXIT

# After the library: this script's own fail (named step, status 1), not the checks' counter.
fail() {
  echo "run_demo: $1 failed${2:+: $2}" >&2
  exit 1
}

# The build's output is long: it is kept in a log and shown only when the build fails.
mkdir -p "$build" || fail "making the build folder $build"
log=$build/run_demo_build.log
echo "building (output in $log)"
if ! bash "$root/scripts/build.sh" >"$log" 2>&1; then
  tail -n 40 "$log" >&2
  fail "building" "the whole output is in $log"
fi
wine_prefix_ready || fail "setting up the Wine prefix"
demo=${BTL_DEMO:-$build/demo}
mkdir -p "$demo" || fail "making the demo folder $demo"
"$build/native/tools/demo_data/make_demo_data" "$demo" >/dev/null || fail "generating the demo data in $demo"
echo "demo data folder: $demo"
"$build/native/btl/btl" --data "$demo/数据" check "$demo/demo_large.btl" ||
  fail "checking $demo/demo_large.btl with the companion"

if [ -n "${DISPLAY:-}" ]; then
  xdotool getmouselocation >/dev/null 2>&1 ||
    fail "opening the display" "DISPLAY is $DISPLAY but no X server answers there (unset DISPLAY to run without one)"
  cd "$demo" || fail "entering $demo"
  trap - EXIT
  rm -rf "$e2e_dir"
  exec env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 wine "$build/win/app/btl_editor.exe"
fi

e2e_start_display || fail "starting a virtual display"
e2e_start_editor "$demo"
main=$(e2e_open_to_main "$demo/demo_large.btl") ||
  fail "opening $demo/demo_large.btl in the editor up to its main window" \
    "editor state $(e2e_editor_state); its output: $(tail -n 5 "$editor_log" 2>/dev/null)"
# Scroll to where the teams meet, select a hex, and take the picture.
# The pointer then leaves the map, so that no information box covers it.
e2e_click "$main" 200 540 && e2e_click "$main" 615 250 && e2e_click "$main" 120 80 &&
  e2e_pointer_off_map "$main" || fail "clicking in the main window"
# The picture once the view has settled: two captures in a row alike.
shot=${BTL_DEMO_SHOT:-$build/demo_screenshot.png}
settled() { e2e_capture "$main" "$shot" && identify -format '%#' "$shot"; }
wait_steady 30 settled >/dev/null || fail "taking the screenshot $shot"
echo "screenshot of the main window: $shot"
