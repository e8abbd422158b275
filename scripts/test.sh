#!/usr/bin/env bash
# Runs every test: installs what is missing, builds both trees, runs the unit tests natively
# and under Wine, the Win32-layer and end-to-end tests under Wine with a virtual display,
# and a smoke run of the companion on the demo data. Ends with "N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BTL_BUILD:-$root/build}
export BTL_BUILD=$build

bash "$root/scripts/build.sh" || { echo "build failed"; echo "0 passed, 1 failed"; exit 1; }

passed=0
failed=0
failures=()

# Runs a GoogleTest program (natively or through wine) and adds up its results.
run_gtest() {
  local label=$1; shift
  local log
  log=$(mktemp)
  echo "== $label"
  # Through bash, so that the Wine helpers (shell functions) can be the command.
  timeout 900 bash -c 'source "$0"; "$@"' "$root/scripts/wine_setup.sh" "$@" --gtest_brief=1 >"$log" 2>&1
  local rc=$?
  grep -E '^\[  (FAILED|PASSED)  \]|Failure|error:' "$log" | head -n 60
  local p f
  p=$(grep -oE '^\[  PASSED  \] [0-9]+' "$log" | grep -oE '[0-9]+$' | tail -n1)
  f=$(grep -oE '^\[  FAILED  \] [0-9]+ test' "$log" | grep -oE '[0-9]+' | tail -n1)
  passed=$((passed + ${p:-0}))
  if [ "$rc" -ne 0 ]; then
    failed=$((failed + ${f:-1}))
    failures+=("$label")
    tail -n 30 "$log"
  fi
  rm -f "$log"
}

# Runs a script-driven test suite that prints its own "N passed, N failed" line.
run_suite() {
  local label=$1; shift
  local log
  log=$(mktemp)
  echo "== $label"
  timeout 420 "$@" >"$log" 2>&1
  local rc=$?
  cat "$log" | tail -n 40
  local line p f
  line=$(grep -E '^[a-z: ]*[0-9]+ passed, [0-9]+ failed' "$log" | tail -n1)
  p=$(echo "$line" | grep -oE '[0-9]+ passed' | grep -oE '[0-9]+')
  f=$(echo "$line" | grep -oE '[0-9]+ failed' | grep -oE '[0-9]+')
  passed=$((passed + ${p:-0}))
  failed=$((failed + ${f:-0}))
  if [ "$rc" -ne 0 ]; then
    [ "${f:-0}" -eq 0 ] && failed=$((failed + 1))
    failures+=("$label")
  fi
  rm -f "$log"
}

source "$root/scripts/wine_setup.sh"
wine_prefix_ready || { failed=$((failed + 1)); failures+=("Wine prefix"); }

run_gtest "unit tests (native)" "$build/native/tests/btl_tests"
echo "== building the unit tests with AddressSanitizer and UBSan"
if cmake -S "$root" -B "$build/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBTL_SANITIZE=ON \
     -DBTL_WERROR="${BTL_WERROR:-$([ -n "${CI:-}" ] && echo ON || echo OFF)}" >/dev/null &&
   cmake --build "$build/asan" --target btl_tests >/dev/null; then
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    run_gtest "unit tests (native, sanitizers)" "$build/asan/tests/btl_tests"
else
  failed=$((failed + 1)); failures+=("sanitizer build")
fi
# Every fuzz target: kept findings and corpus replayed, then 20 s of fuzzing each (about
# 3 to 4 minutes with the build of the fuzzing tree); the long run is scripts/fuzz.sh 600.
run_suite "fuzz targets (replay, then 20 s each)" bash "$root/scripts/fuzz.sh" 20
run_gtest "unit tests (Windows build under Wine)" wine_zh "$build/win/tests/btl_tests.exe"
run_gtest "Win32 layer tests under Wine" with_display wine_zh "$build/win/tests/btl_wine_tests.exe"
run_suite "companion on the demo data" bash "$root/tests/demo_smoke.sh"
run_suite "companion with git (text diff, merge driver)" bash "$root/tests/companion_git_test.sh"
run_suite "include check" bash "$root/tests/include_check_test.sh"
run_suite "user guide" bash "$root/tests/guide_test.sh"
if [ -f "$root/tests/wine/run_wine_tests.sh" ]; then
  run_suite "Win32 layer under Wine" bash "$root/tests/wine/run_wine_tests.sh"
fi
for suite in "$root"/tests/e2e/*.sh; do
  [ -f "$suite" ] && run_suite "end to end: $(basename "$suite")" bash "$suite"
done
run_suite "release package" bash "$root/tests/package_test.sh"

echo
if [ ${#failures[@]} -gt 0 ]; then echo "failing: ${failures[*]}"; fi
echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
