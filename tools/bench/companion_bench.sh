#!/usr/bin/env bash
# Times whole `btl` processes on the largest 16-bit scenario (see largest_scenario.h) beside
# a durable copy (cat, then sync) and a plain read of the same file, in one run, and prints
# each figure beside its baseline and its aim. It only prints: a slow figure is not a failure
# (a command that fails is).
#
#   bash tools/bench/companion_bench.sh [RUNS]      (RUNS a command, default 5; median shown)
#
# Uses $BTL_BUILD/native (default build/native) for btl and make_bench_files.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
native=${BTL_BUILD:-$root/build}/native
runs=${1:-5}
btl=$native/tools/btl/btl
make_files=$native/tools/bench/make_bench_files
for program in "$btl" "$make_files"; do
  [ -x "$program" ] || { echo "companion_bench: $program is missing: build the native tree first" >&2; exit 2; }
done
[ -x /usr/bin/time ] || { echo "companion_bench: /usr/bin/time is missing (scripts/setup.sh installs it)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/btl_companion_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$make_files" "$work"
in=$work/largest.btl
data=(--data "$work")
"$btl" export "$in" "$work/in.json" "${data[@]}" >/dev/null

# run NAME COMMAND...: RUNS timed runs after one untimed one; records the median wall time
# in seconds and the median peak resident memory in MB.
declare -A secs peak
run() {
  local name=$1; shift
  local times=() mems=() i start end rc
  "$@" >/dev/null 2>&1 || true  # warms the page cache and the program
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    rc=0
    /usr/bin/time -f %M -o "$work/mem" "$@" >/dev/null 2>"$work/err" || rc=$?
    end=$(date +%s%N)
    # check reports findings with status 1; anything else non-zero is a failure.
    if [ "$rc" -ne 0 ] && ! { [ "$name" = check ] && [ "$rc" -eq 1 ]; }; then
      echo "companion_bench: $name failed (status $rc):" >&2
      cat "$work/err" >&2
      exit 1
    fi
    times+=("$(( (end - start) / 1000 ))")
    mems+=("$(tail -n1 "$work/mem")")
  done
  secs[$name]=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.3f", a[int((NR+1)/2)]/1e6}')
  peak[$name]=$(printf '%s\n' "${mems[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.1f", a[int((NR+1)/2)]/1024}')
}

run "durable copy" sh -c 'cat "$1" > "$2" && sync "$2"' sh "$in" "$work/copy.btl"
run "plain read" sh -c 'cat "$1" > /dev/null' sh "$in"
run resave "$btl" resave "$in" "$work/resaved.btl" "${data[@]}"
run info "$btl" info "$in" "${data[@]}"
run check "$btl" check "$in" "${data[@]}"
run export "$btl" export "$in" "$work/out.json" "${data[@]}"
run import "$btl" import "$work/in.json" "$work/imported.btl"
cmp -s "$in" "$work/imported.btl" || { echo "companion_bench: import did not give back the file" >&2; exit 1; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}'; }
below() { awk -v a="$1" -v b="$2" 'BEGIN {print (a <= b ? "met" : "NOT met")}'; }

printf 'largest 16-bit scenario: %s bytes; %d runs each, median wall time and peak memory\n\n' \
  "$(stat -c %s "$in")" "$runs"
printf '%-13s %9s %10s   %s\n' "" seconds "peak MB" "against baseline and aim"
for name in "durable copy" "plain read"; do
  printf '%-13s %9s %10s   %s\n' "$name" "${secs[$name]}" "${peak[$name]}" "(baseline)"
done
r=$(ratio "${secs[resave]}" "${secs[durable copy]}")
printf '%-13s %9s %10s   %s x durable copy (aim at most 2: %s)\n' resave "${secs[resave]}" \
  "${peak[resave]}" "$r" "$(below "$r" 2)"
r=$(ratio "${secs[info]}" "${secs[plain read]}")
printf '%-13s %9s %10s   %s x plain read (aim at most 3: %s)\n' info "${secs[info]}" \
  "${peak[info]}" "$r" "$(below "$r" 3)"
printf '%-13s %9s %10s   aim under 1 s: %s, peak under 100 MB: %s\n' check "${secs[check]}" \
  "${peak[check]}" "$(below "${secs[check]}" 1)" "$(below "${peak[check]}" 100)"
printf '%-13s %9s %10s   aim under 2 s: %s, peak under 1 GB: %s\n' export "${secs[export]}" \
  "${peak[export]}" "$(below "${secs[export]}" 2)" "$(below "${peak[export]}" 1024)"
printf '%-13s %9s %10s   aim under 4 s: %s, peak under 1 GB: %s\n' import "${secs[import]}" \
  "${peak[import]}" "$(below "${secs[import]}" 4)" "$(below "${peak[import]}" 1024)"
