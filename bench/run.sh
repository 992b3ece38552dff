#!/bin/bash
# Runs every benchmark program built in BUILD/bench, each printing its own
# output, then prints the table of program-level figures they wrote. Exits
# non-zero when a benchmark program failed; a figure off its goal does not.
# The figures stay in BUILD/bench/figures.txt (bench/summary.sh prints them again).
# Usage: bench/run.sh [BUILD]
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
figures_dir=$(cd "$build/bench" 2>/dev/null && pwd) || {
    echo "bench: no benchmarks in $build/bench (build them first)" >&2
    exit 2
}
export ORVANE_BENCH_FIGURES=$figures_dir/figures.txt
# The whole-program benchmarks find their desktop sessions in the source tree.
export ORVANE_SOURCE_DIR=$here/..
: >"$ORVANE_BENCH_FIGURES"
failed=()
for program in "$build"/bench/*_bench; do
    [ -x "$program" ] || continue
    name=$(basename "$program")
    echo "== $name"
    "$program"
    status=$?
    echo "@$name=$status" >>"$ORVANE_BENCH_FIGURES"
    [ $status = 0 ] || failed+=("$name")
done
"$here/summary.sh" "$ORVANE_BENCH_FIGURES" "$here/goals.txt"
printf 'Measured on %s cores, load average %s\n' "$(nproc)" "$(cut -d' ' -f1-3 /proc/loadavg)"
if [ ${#failed[@]} -gt 0 ]; then
    echo "failed: ${failed[*]}" >&2
    exit 1
fi
