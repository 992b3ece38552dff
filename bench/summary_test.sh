#!/usr/bin/env bash
# The table `make bench` ends with: figures beside their goals, met or missed,
# every missing figure with its reason, and the run failing only when a
# benchmark program fails.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# row TABLE LABEL EXPECTED: the row of LABEL reads EXPECTED (spaces squeezed).
row() {
    local got
    got=$(grep -F -- "$2" "$1" | tr -s ' ')
    [ "$got" = "$3" ] || fail "row '$2': expected '$3', got '$got'"
}

cat >"$work/goals" <<'GOALS'
# a comment, then a blank line

fast_ms  | Fast thing        | ms | < 50  | < 50 ms      | one_bench
none_ps  | No wake-ups       | /s | <= 0  | 0/s          | one_bench
big_mb   | Big thing         | MB | >= 10 | at least 10  | one_bench
gone_pct | Gone thing        | %  | < 2   | < 2 %        | broken_bench
never_s  | Never run         | s  | < 1   | < 1 s        | absent_bench
quiet_s  | Quiet thing       | s  | < 1   | < 1 s        | one_bench
cpu_m*_pct | CPU, mode *     | %  | < 2   | < 2 %        | one_bench
lost_*   | Lost, case *      | s  | < 1   | < 1 s        | one_bench
GOALS

# Numbers against their goals; the last value of a name counts.
cat >"$work/figures" <<'FIGS'
fast_ms=80
fast_ms=12.345
none_ps=0
big_mb=10
cpu_m1_pct=1.5
cpu_m15_pct=not measured: Xvfb missing
cpu_m20_pct=2
cpu_mWayland_1_pct=0.5
gone_pct=not measured: never here
@one_bench=0
@broken_bench=3
FIGS
"$here/summary.sh" "$work/figures" "$work/goals" >"$work/table" || fail "the table failed"
row "$work/table" "Fast thing" "Fast thing 12.3 ms < 50 ms met"
row "$work/table" "No wake-ups" "No wake-ups 0.00/s 0/s met"
row "$work/table" "Big thing" "Big thing 10.0 MB at least 10 met"
# A figure's own reason wins over its program's status.
row "$work/table" "Gone thing" "Gone thing not measured < 2 % never here"
row "$work/table" "Never run" "Never run not measured < 1 s absent_bench did not run"
row "$work/table" "Quiet thing" "Quiet thing not measured < 1 s one_bench wrote no figure"
# A pattern gives one row per matching figure, in the order they came, its
# part's "_" read as spaces, and one row saying nothing matched when none did.
[ "$(grep -c "CPU, mode" "$work/table")" = 4 ] || fail "not one row per mode"
grep -A2 -F "CPU, mode 1 " "$work/table" | grep -q "CPU, mode 15 " || fail "modes out of order"
row "$work/table" "CPU, mode 1 " "CPU, mode 1 1.50 % < 2 % met"
row "$work/table" "CPU, mode 15 " "CPU, mode 15 not measured < 2 % Xvfb missing"
row "$work/table" "CPU, mode 20 " "CPU, mode 20 2.00 % < 2 % missed"
row "$work/table" "CPU, mode Wayland" "CPU, mode Wayland 1 0.50 % < 2 % met"
row "$work/table" "Lost, case" "Lost, case (each) not measured < 1 s one_bench wrote no figure"

# The shipped goals all parse, and with no figures file every row says why.
"$here/summary.sh" "$work/nothing" >"$work/shipped" || fail "the shipped goals failed"
rows=$(grep -vc '^$\|^Program-level\|^figure\|^---' "$work/shipped")
[ "$rows" -ge 10 ] || fail "only $rows rows from the shipped goals"
[ "$(grep -c 'did not run$' "$work/shipped")" = "$rows" ] || fail "a shipped row lacks its reason"
! grep -q "bad goal" "$work/shipped" || fail "a shipped goal does not parse"

# The runner prints every figure even when a program fails, and fails then.
mkdir -p "$work/build/bench"
printf '#!/bin/sh\necho "fast_ms=7" >>"$ORVANE_BENCH_FIGURES"\n' >"$work/build/bench/a_bench"
printf '#!/bin/sh\nexit 3\n' >"$work/build/bench/b_bench"
chmod +x "$work/build/bench/a_bench" "$work/build/bench/b_bench"
"$here/run.sh" "$work/build" >"$work/run" 2>&1 && fail "a failed program did not fail the run"
grep -q "^@b_bench=3$" "$work/build/bench/figures.txt" || fail "the failed program's status was not kept"
grep -q "^Start to tray icon .*did not run$" "$work/run" || fail "the run printed no table"
rm "$work/build/bench/b_bench"
"$here/run.sh" "$work/build" >"$work/run" 2>&1 || fail "a clean run failed"
! grep -q "b_bench" "$work/build/bench/figures.txt" || fail "figures of an earlier run were kept"

[ $failures = 0 ] && echo "summary: all checks passed"
exit $((failures > 0))
