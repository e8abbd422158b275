#!/usr/bin/env bash
# Times whole `btl` processes on the largest 16-bit scenario (see largest_scenario.h) beside
# a durable copy (cat, then sync) and a plain read of the same file, in one run, and prints
# each figure beside its baseline and its aim. It only prints: a slow figure is not a failure
# (a command that fails is).
#
#   bash tests/bench/companion_bench.sh [RUNS]      (RUNS a command, default 5; median shown)
#
# Uses $BTL_BUILD/native (default build/native) for btl and make_bench_files; BTL_PROGRAM
# names another btl to time (an older build, to compare). Wall time is the aim's measure; the
# processor time (user + system) beside it shows what a busy machine adds to the wall time.
# Export writes about nine times the battle file's bytes, so it is shown beside a durable
# copy of its own output too: a floor no export through a safe save can go below. Render
# draws the largest range at the default size (a picture of about 8000 x 8000 pixels).
# "check random" checks a file of the same size whose records are random bytes (a finding
# on nearly every record), with the demo catalogs when make_demo_data is built, so that the
# problem report runs too: its peak memory must not grow with what the file holds.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
native=${BTL_BUILD:-$root/build}/native
runs=${1:-5}
btl=${BTL_PROGRAM:-$native/btl/btl}
make_files=$native/tests/bench/make_bench_files
make_demo=$native/tools/demo_data/make_demo_data
for program in "$btl" "$make_files"; do
  [ -x "$program" ] || { echo "companion_bench: $program is missing: build the native tree first" >&2; exit 2; }
done
[ -x /usr/bin/time ] || { echo "companion_bench: /usr/bin/time is missing (scripts/setup.sh installs it)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/btl_companion_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$make_files" "$work"
in=$work/largest.btl
data=(--data "$work")
# The random file is checked against the demo catalogs beside the same world map.
random_data=(--data "$work")
if [ -x "$make_demo" ]; then
  mkdir -p "$work/demo" "$work/catalogs"
  "$make_demo" "$work/demo" >/dev/null
  cp "$work/demo/数据/"*.json "$work/demo/数据/"*.ini "$work/catalogs/" && cp "$work/world.bin" "$work/catalogs/"
  random_data=(--data "$work/catalogs")
fi
"$btl" export "$in" "$work/in.json" "${data[@]}" >/dev/null

# run NAME COMMAND...: RUNS timed runs after one untimed one; records the median wall time
# and processor time in seconds and the median peak resident memory in MB.
declare -A secs cpu peak
median() { sort -n | awk '{a[NR]=$1} END {printf "%.3f", a[int((NR+1)/2)]}'; }
run() {
  local name=$1; shift
  local times=() cpus=() mems=() i start end rc
  "$@" >/dev/null 2>&1 || true  # warms the page cache and the program
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    rc=0
    /usr/bin/time -f '%M %U %S' -o "$work/mem" "$@" >/dev/null 2>"$work/err" || rc=$?
    end=$(date +%s%N)
    # check reports findings with status 1; anything else non-zero is a failure.
    if [ "$rc" -ne 0 ] && ! { [[ "$name" = check* ]] && [ "$rc" -eq 1 ]; }; then
      echo "companion_bench: $name failed (status $rc):" >&2
      cat "$work/err" >&2
      exit 1
    fi
    times+=("$(awk -v n=$((end - start)) 'BEGIN {print n / 1e9}')")
    read -r kb user system < <(tail -n1 "$work/mem")
    mems+=("$(awk -v k="$kb" 'BEGIN {print k / 1024}')")
    cpus+=("$(awk -v u="$user" -v s="$system" 'BEGIN {print u + s}')")
  done
  secs[$name]=$(printf '%s\n' "${times[@]}" | median)
  cpu[$name]=$(printf '%s\n' "${cpus[@]}" | median)
  peak[$name]=$(printf '%s\n' "${mems[@]}" | median)
}

run "durable copy" sh -c 'cat "$1" > "$2" && sync "$2"' sh "$in" "$work/copy.btl"
run "plain read" sh -c 'cat "$1" > /dev/null' sh "$in"
run "json copy" sh -c 'cat "$1" > "$2" && sync "$2"' sh "$work/in.json" "$work/copy.json"
rm -f "$work/copy.json"
run resave "$btl" resave "$in" "$work/resaved.btl" "${data[@]}"
run info "$btl" info "$in" "${data[@]}"
run check "$btl" check "$in" "${data[@]}"
run "check random" "$btl" check "$work/random.btl" "${random_data[@]}"
run export "$btl" export "$in" "$work/out.json" "${data[@]}"
run import "$btl" import "$work/in.json" "$work/imported.btl"
cmp -s "$in" "$work/imported.btl" || { echo "companion_bench: import did not give back the file" >&2; exit 1; }
# A merge where both sides changed the file (a header byte each, in different fields), so
# that every hex and record is merged rather than one side's bytes taken whole.
cp "$in" "$work/ours.btl" && cp "$in" "$work/theirs.btl"
printf '\x5A' | dd of="$work/ours.btl" bs=1 seek=0 conv=notrunc status=none
printf '\x5A' | dd of="$work/theirs.btl" bs=1 seek=36 conv=notrunc status=none
run merge "$btl" merge "$in" "$work/ours.btl" "$work/theirs.btl" -o "$work/merged.btl" "${data[@]}"
# The whole range drawn at the default hex side (the largest that fits in 8192 pixels), with
# the system's Chinese font when there is one (labels on every hex that holds something).
run render "$btl" render "$in" "$work/largest.png" "${data[@]}"

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}'; }
below() { awk -v a="$1" -v b="$2" 'BEGIN {print (a <= b ? "met" : "NOT met")}'; }

printf 'largest 16-bit scenario: %s bytes, its JSON %s bytes; %d runs each, medians\n\n' \
  "$(stat -c %s "$in")" "$(stat -c %s "$work/in.json")" "$runs"
row() {  # NAME TEXT
  printf '%-13s %8s %8s %9s   %s\n' "$1" "${secs[$1]}" "${cpu[$1]}" "${peak[$1]}" "$2"
}
printf '%-13s %8s %8s %9s   %s\n' "" "wall s" "cpu s" "peak MB" "against baseline and aim"
row "durable copy" "(baseline: cat, then sync, of the battle file)"
row "plain read" "(baseline: cat to /dev/null)"
row "json copy" "(baseline: cat, then sync, of the export's JSON)"
r=$(ratio "${secs[resave]}" "${secs[durable copy]}")
row resave "$r x durable copy (aim at most 2: $(below "$r" 2))"
r=$(ratio "${secs[info]}" "${secs[plain read]}")
row info "$r x plain read (aim at most 3: $(below "$r" 3))"
row check "aim under 1 s: $(below "${secs[check]}" 1), peak under 100 MB: $(below "${peak[check]}" 100)"
r=$(ratio "${peak[check random]}" "${peak[check]}")
catalogs=$([ -x "$make_demo" ] && echo "with the demo catalogs" || echo "without catalogs: build make_demo_data")
row "check random" "$r x check's peak ($catalogs); peak under 100 MB: $(below "${peak[check random]}" 100)"
row export "$(ratio "${secs[export]}" "${secs[json copy]}") x json copy; aim under 2 s: $(below "${secs[export]}" 2), peak under 1 GB: $(below "${peak[export]}" 1024)"
row import "aim under 4 s: $(below "${secs[import]}" 4), peak under 1 GB: $(below "${peak[import]}" 1024)"
r=$(ratio "${secs[merge]}" "${secs[durable copy]}")
row merge "$r x durable copy; peak under 1 GB: $(below "${peak[merge]}" 1024)"
r=$(ratio "${secs[render]}" "${secs[durable copy]}")
row render "$r x durable copy; aim under 10 s: $(below "${secs[render]}" 10), peak under 1 GB: $(below "${peak[render]}" 1024)"
