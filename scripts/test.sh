#!/usr/bin/env bash
# Runs every test: installs what is missing, builds both trees, then runs side by side the
# sanitizer tree (clang, ASan and UBSan over one core: built, then the unit tests natively
# under the sanitizers and the fuzz targets, kept findings and corpus replayed, then 5 s each;
# the long run is scripts/fuzz.sh 600), the unit tests under Wine, the Win32-layer and
# end-to-end tests under Wine with a virtual display, the companion on the demo data and the
# release package. Nothing is built twice: the native tree leaves out the unit tests, which
# the sanitizer tree builds and runs natively. The runs go BTL_TEST_JOBS at a time (default
# 4): each has its own display, Wine prefix and folders. Prints each stage's time, then
# "tests: N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BTL_BUILD:-$root/build}
export BTL_BUILD=$build
jobs=${BTL_TEST_JOBS:-4}
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

passed=0
failed=0
failures=()
stage_lines=()
start_all=${EPOCHREALTIME/[.,]/}

# Microseconds since $1 as seconds with one decimal.
seconds_since() {
  local us=$(( ${EPOCHREALTIME/[.,]/} - $1 ))
  printf '%d.%d' $((us / 1000000)) $((us % 1000000 / 100000))
}

# A step run here and now (the builds), timed: LABEL COMMAND...
step() {
  local label=$1 t0=${EPOCHREALTIME/[.,]/}
  shift
  echo "== $label"
  "$@"
  local rc=$?
  stage_lines+=("$(printf '%8s s  %s' "$(seconds_since "$t0")" "$label")")
  return $rc
}

# The sanitizer tree: one clang build of the core under ASan and UBSan for the unit tests'
# sanitizer run and for the fuzz targets (scripts/fuzz.sh builds its targets in it). It runs
# beside the Wine suites, which mostly wait on the display, at a lower priority than they.
sanitizer_tree() {
  cmake -S "$root" -B "$build/fuzz" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBTL_FUZZ=ON >/dev/null &&
    nice -n 10 cmake --build "$build/fuzz" --target btl_tests make_seeds \
      $(for src in "$root"/tests/fuzz/*_fuzz.cpp; do basename "$src" .cpp; done) >/dev/null
  local rc=$?
  echo $rc >"$sanitizer_done"
  [ $rc -eq 0 ] && echo "sanitizer tree: 1 passed, 0 failed" || echo "sanitizer tree: 0 passed, 1 failed"
  return $rc
}
# Runs COMMAND... once the sanitizer tree is built; fails at once when its build failed.
after_sanitizer_tree() {
  while [ ! -f "$sanitizer_done" ]; do sleep 1; done
  [ "$(cat "$sanitizer_done")" = 0 ] || { echo "the sanitizer tree did not build"; return 1; }
  "$@"
}

export -f sanitizer_tree after_sanitizer_tree
export root build
export BTL_NATIVE_UNIT_TESTS=OFF
if ! step "build (set-up, native and Windows trees)" bash "$root/scripts/build.sh"; then
  echo "build failed"; echo "tests: 0 passed, 1 failed"; exit 1
fi
source "$root/scripts/lib/harness.bash"
export sanitizer_done=$logs/sanitizer.done
rm -rf "$e2e_dir"
# The prefix every run copies, made once before the runs start.
step "Wine prefix" wine_prefix_ready || { failed=$((failed + 1)); failures+=("Wine prefix"); }

# ---- The runs ---------------------------------------------------------------------------
# Each run is KIND LABEL COMMAND...: KIND "gtest" (a GoogleTest program; its results are
# added up) or "suite" (a script that ends with its own "N passed, N failed" line). It runs in
# the background into its own log; at most $jobs at a time.
n=0
labels=() kinds=()
launch() {
  local kind=$1 label=$2 limit=${run_limit:-900}
  shift 2
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n 2>/dev/null || true; done
  labels[n]=$label kinds[n]=$kind
  local log=$logs/$n
  (
    t0=${EPOCHREALTIME/[.,]/}
    timeout "$limit" "$@" >"$log.out" 2>&1
    echo $? >"$log.rc"
    seconds_since "$t0" >"$log.time"
  ) &
  n=$((n + 1))
}

# A Windows program under Wine, in a Wine prefix of its own (and a display of its own with
# `with_display`).
in_wine=(bash -c 'source "$0"; e2e_begin || exit 1; "$@"; rc=$?; e2e_cleanup; exit $rc'
  "$root/scripts/lib/harness.bash")

# The longest first, so that the last to end is a short one.
run_limit=2400 launch suite "build (sanitizer tree)" bash -c sanitizer_tree
for suite in "$root"/tests/e2e/*.sh; do
  [ -f "$suite" ] && launch suite "end to end: $(basename "$suite")" bash "$suite"
done
launch suite "release package" bash "$root/tests/package_test.sh"
launch suite "Win32 layer under Wine" bash "$root/tests/wine/run_wine_tests.sh"
launch gtest "Win32 layer tests under Wine" "${in_wine[@]}" with_display wine_zh "$build/win/tests/btl_wine_tests.exe" --gtest_brief=1
launch gtest "unit tests (Windows build under Wine)" "${in_wine[@]}" wine_zh "$build/win/tests/btl_tests.exe" --gtest_brief=1
launch suite "companion on the demo data" bash "$root/tests/demo_smoke.sh"
launch suite "companion with git (text diff, merge driver)" bash "$root/tests/companion_git_test.sh"
launch suite "include check" bash "$root/tests/include_check_test.sh"
launch suite "format check" bash "$root/tests/format_check_test.sh"
launch suite "user guide" bash "$root/tests/guide_test.sh"
# These two wait for the sanitizer tree (their time includes the wait).
run_limit=2400 launch gtest "unit tests (native, sanitizers)" bash -c 'after_sanitizer_tree "$@"' _ \
  env ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 "$build/fuzz/tests/btl_tests" --gtest_brief=1
run_limit=2400 launch suite "fuzz targets (kept findings and corpus replayed, then 5 s each)" \
  bash -c 'after_sanitizer_tree "$@"' _ bash "$root/scripts/fuzz.sh" 5
wait

# ---- Results, in the order the runs started ---------------------------------------------
for ((i = 0; i < n; i++)); do
  log=$logs/$i.out label=${labels[i]}
  rc=$(cat "$logs/$i.rc" 2>/dev/null || echo 1)
  echo "== $label"
  if [ "${kinds[i]}" = gtest ]; then
    grep -E '^\[  (FAILED|PASSED)  \]|Failure|error:' "$log" | head -n 60
    p=$(grep -oE '^\[  PASSED  \] [0-9]+' "$log" | grep -oE '[0-9]+$' | tail -n1)
    f=$(grep -oE '^\[  FAILED  \] [0-9]+ test' "$log" | grep -oE '[0-9]+' | tail -n1)
    [ "$rc" -ne 0 ] && { tail -n 30 "$log"; f=${f:-1}; }
  else
    tail -n 40 "$log"
    line=$(grep -E '^[a-z0-9: ]*[0-9]+ passed, [0-9]+ failed' "$log" | tail -n1)
    p=$(echo "$line" | grep -oE '[0-9]+ passed' | grep -oE '[0-9]+')
    f=$(echo "$line" | grep -oE '[0-9]+ failed' | grep -oE '[0-9]+')
    [ "$rc" -ne 0 ] && [ "${f:-0}" -eq 0 ] && f=1
  fi
  [ "$rc" -eq 124 ] && echo "(stopped: it ran out of time)"
  passed=$((passed + ${p:-0}))
  failed=$((failed + ${f:-0}))
  [ "$rc" -ne 0 ] && failures+=("$label")
  stage_lines+=("$(printf '%8s s  %s' "$(cat "$logs/$i.time" 2>/dev/null)" "$label")")
done

echo
echo "stage times (the runs side by side, $jobs at a time):"
printf '%s\n' "${stage_lines[@]}"
printf '%8s s  %s\n' "$(seconds_since "$start_all")" "in all"
if [ ${#failures[@]} -gt 0 ]; then echo "failing: ${failures[*]}"; fi
echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
