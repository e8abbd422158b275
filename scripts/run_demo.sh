#!/usr/bin/env bash
# The main job on the bundled demo data: builds everything, generates the demo game data
# folder and runs the command-line companion's info and check on the large demo scenario,
# natively and as the Windows .exe under Wine.
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
cd "$demo"
echo "demo data folder: $demo"
"$build/native/tools/btl/btl" info demo_large.btl | head -n 40
echo "..."
"$build/native/tools/btl/btl" check demo_large.btl
echo "-- the Windows companion under Wine:"
wine_zh "$build/win/tools/btl/btl.exe" check demo_messy.btl
