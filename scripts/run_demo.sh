#!/usr/bin/env bash
# The main job on the bundled demo data: builds everything, generates the demo game data
# folder and starts the editor in it under Wine. With a display ($DISPLAY set) the editor is
# yours to use. Without one it runs on a virtual display, opens the large demo scenario,
# confirms its range, saves a screenshot of the main window and prints its path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BTL_BUILD:-$root/build}
export BTL_BUILD=$build
bash "$root/scripts/build.sh" >/dev/null
source "$root/scripts/wine_setup.sh"
wine_prefix_ready
demo=$build/demo
mkdir -p "$demo"
"$build/native/tools/demo_data/make_demo_data" "$demo" >/dev/null
echo "demo data folder: $demo"
"$build/native/tools/btl/btl" --data "$demo/数据" check "$demo/demo_large.btl"

if [ -n "${DISPLAY:-}" ]; then
  cd "$demo"
  exec env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 wine "$build/win/app/btl_editor.exe"
fi

source "$root/tests/e2e/lib.bash"
trap e2e_stop EXIT
e2e_start_display
e2e_start_editor "$demo"
main=$(e2e_open_to_main "$demo/demo_large.btl")
# Scroll to where the teams meet, select a hex, and take the picture.
e2e_click "$main" 200 540
e2e_click "$main" 615 250
e2e_click "$main" 120 80
sleep 0.5
shot=$build/demo_screenshot.png
import -window "$main" "$shot"
echo "screenshot of the main window: $shot"
