#!/usr/bin/env bash
# The companion on the generated demo data, natively and as the Windows .exe under Wine:
# every demo scenario checks, and re-saving the clean ones gives their bytes back.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BTL_BUILD:-$root/build}
source "$root/scripts/wine_setup.sh"
demo=$build/demo
rm -rf "$demo" && mkdir -p "$demo"
"$build/native/tools/demo_data/make_demo_data" "$demo" >/dev/null || { echo "demo: 0 passed, 1 failed"; exit 1; }

passed=0 failed=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT
expect() {  # expect NAME COMMAND...: the command must succeed
  local name=$1; shift
  if "$@" >"$log" 2>&1; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "FAILED: $name"; tail -n 20 "$log"; fi
}
cd "$demo"
for tool in native windows; do
  if [ $tool = native ]; then btl=("$build/native/tools/btl/btl"); else btl=(wine_zh "$build/win/tools/btl/btl.exe"); fi
  for f in demo_*.btl; do
    expect "$tool check $f" "${btl[@]}" check "$f"
    expect "$tool info $f" "${btl[@]}" info "$f"
  done
  for f in demo_small.btl demo_large.btl; do
    rm -f "resaved_$f"
    expect "$tool resave $f" "${btl[@]}" resave "$f" "resaved_$f"
    expect "$tool resave $f gives the same bytes" cmp "$f" "resaved_$f"
  done
  expect "$tool refuses a missing file" bash -c '! "$@" check no_such.btl' _ "${btl[@]}"
done
echo "demo: $passed passed, $failed failed"
[ $failed -eq 0 ]
