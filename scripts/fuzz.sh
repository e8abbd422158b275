#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan), replays every corpus and the
# kept crash inputs, then fuzzes each target for SECONDS (default 30). Fails on any finding.
#   bash scripts/fuzz.sh [SECONDS]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BTL_BUILD:-$root/build}
seconds=${1:-30}
bash "$root/scripts/setup.sh" >/dev/null
cmake -S "$root" -B "$build/fuzz" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBTL_FUZZ=ON >/dev/null || exit 1
cmake --build "$build/fuzz" >/dev/null || exit 1
bin=$build/fuzz/tools/fuzz
corpus=$build/fuzz/corpus
"$bin/make_seeds" "$corpus"
# Seeds from the demo data, when it has been generated.
if [ -d "$build/demo" ]; then
  cp -f "$build/demo"/*.btl "$corpus/battle_fuzz/" 2>/dev/null
  cp -f "$build/demo/数据/world.bin" "$corpus/world_fuzz/demo_world.bin" 2>/dev/null
fi

passed=0 failed=0
for target in "$bin"/*_fuzz; do
  name=$(basename "$target")
  mkdir -p "$corpus/$name"
  regressions=$root/tests/fuzz_regressions/$name
  mkdir -p "$regressions"
  log=$build/fuzz/$name.log
  # Replay the kept findings, then fuzz; new findings are written into the regressions folder.
  if "$target" -runs=0 -rss_limit_mb=2048 "$regressions" >"$log" 2>&1 &&
     "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=1024 -max_len=300000 \
       -timeout=20 -print_final_stats=1 -artifact_prefix="$regressions/" "$corpus/$name" >>"$log" 2>&1; then
    execs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' | tail -n1)
    rate=$(grep -oE 'exec/s: [0-9]+' "$log" | tail -n1)
    cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -n1)
    echo "$name: ${execs:-?} executions, $rate, $cov, no findings"
    passed=$((passed + 1))
  else
    echo "$name: FINDING (see $log)"
    tail -n 30 "$log"
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
