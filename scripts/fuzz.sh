#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) in the sanitizer tree (the
# unit tests' sanitizer run shares its core), writes the seed corpora, replays the kept
# findings of tests/fuzz/regressions/<target>/ and the whole corpus (every input once), then
# fuzzes each target for SECONDS (default 30; the test command gives 5, the long run 600).
# Fails on any finding; a new finding is written into the target's regressions folder, to be
# fixed and kept.
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]      (no TARGET: every *_fuzz target)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BTL_BUILD:-$root/build}
seconds=${1:-30}
shift $(( $# > 0 ? 1 : 0 ))
bash "$root/scripts/setup.sh" >/dev/null
cmake -S "$root" -B "$build/fuzz" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBTL_FUZZ=ON >/dev/null || { echo "fuzz: 0 passed, 1 failed"; exit 1; }
all=()
for src in "$root"/tests/fuzz/*_fuzz.cpp; do all+=("$(basename "$src" .cpp)"); done
cmake --build "$build/fuzz" --target make_seeds "${all[@]}" >/dev/null ||
  { echo "fuzz: build failed"; echo "fuzz: 0 passed, 1 failed"; exit 1; }
bin=$build/fuzz/tests/fuzz
corpus=$build/fuzz/corpus
"$bin/make_seeds" "$corpus" || { echo "fuzz: 0 passed, 1 failed"; exit 1; }

if [ $# -gt 0 ]; then targets=("$@"); else
  targets=("${all[@]}")
fi

# Memory: 2 GiB in all per process, no single allocation above 1 GiB; inputs up to the size
# of the largest seed (a 500 x 500 range).
limits=(-rss_limit_mb=2048 -malloc_limit_mb=1024)
passed=0 failed=0
for name in "${targets[@]}"; do
  target=$bin/$name
  mkdir -p "$corpus/$name"
  regressions=$root/tests/fuzz/regressions/$name
  mkdir -p "$regressions"
  log=$build/fuzz/$name.log
  # Replay the kept findings and the corpus, then fuzz from the corpus.
  if "$target" -runs=0 "${limits[@]}" "$regressions" >"$log" 2>&1 &&
     "$target" -runs=0 "${limits[@]}" -max_len=300000 -timeout=20 "$corpus/$name" >>"$log" 2>&1 &&
     "$target" -max_total_time="$seconds" "${limits[@]}" -max_len=300000 -timeout=20 \
       -print_final_stats=1 -artifact_prefix="$regressions/" "$corpus/$name" >>"$log" 2>&1; then
    execs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' | tail -n1)
    rate=$(grep -oE 'stat::average_exec_per_sec: *[0-9]+' "$log" | grep -oE '[0-9]+$' | tail -n1)
    cov=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -n1)
    units=$(ls "$corpus/$name" | wc -l)
    echo "$name: ${seconds} s, ${execs:-?} executions, ${rate:-?} exec/s, ${cov:-cov ?}, corpus $units, no findings"
    passed=$((passed + 1))
  else
    echo "$name: FINDING (see $log)"
    tail -n 30 "$log"
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
