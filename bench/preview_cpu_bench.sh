#!/usr/bin/env bash
# Whole-program CPU while the live preview runs: the program against the
# simulated keyboard on its own Xvfb display, window shown, lighting switch
# on, SECONDS (20) per mode of MODES: a wave (1), rain (15) and the painted
# keys (20, nothing moves). The preview draws 20 frames a second; the aim is
# under 2 % of one core. With ORVANE_BENCH_FIGURES set, each mode's figure is
# also appended to that file.
# Usage: preview_cpu_bench [BIN_DIR] [SECONDS]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=${1:-$here/../bin}
# Run from the source tree: the default build beside it.
[ -x "$bin/orvane" ] || bin=$here/../build/bin
seconds=${2:-${SECONDS_PER_MODE:-20}}
modes=${MODES:-1 15 20}
ticks=$(getconf CLK_TCK)

figure() { [ -z "${ORVANE_BENCH_FIGURES:-}" ] || echo "$1=$2" >>"$ORVANE_BENCH_FIGURES"; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Prints the mode's figure; fails when the program could not be measured.
measure() {
    local mode=$1 home display xvfb pid before after cpu
    home=$(mktemp -d)
    export XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/run
    mkdir -p "$XDG_DATA_HOME/Brislane" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    printf '[KEYCOLOR]\nDengCheck=1\n' >"$XDG_DATA_HOME/Brislane/zaru.ini"
    if ! "$bin/orvanectl" --simulate --sim-state "$home/state" set-lighting mode "$mode" --profile 0 >/dev/null; then
        rm -rf "$home"
        figure "preview_cpu_mode${mode}_pct" "not measured: the simulated keyboard refused mode $mode"
        return 1
    fi

    # Xvfb picks a free display itself and names it on fd 3.
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$home/display" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$home/display" ] && break; sleep 0.1; done
    display=$(head -n1 "$home/display")
    if [ -z "$display" ]; then
        kill "$xvfb" 2>/dev/null
        rm -rf "$home"
        figure "preview_cpu_mode${mode}_pct" "not measured: Xvfb did not start"
        return 0
    fi
    export DISPLAY=:$display

    # A keyboard present at start opens the window.
    "$bin/orvane" --simulate --sim-state "$home/state" >/dev/null 2>&1 &
    pid=$!
    sleep 3
    before=$(cpu_ticks "$pid")
    sleep "$seconds"
    after=$(cpu_ticks "$pid")
    local moved=yes
    # The picture must be moving while measured (mode 20 stands still).
    if [ "$mode" != 20 ] && command -v scrot >/dev/null; then
        scrot -o "$home/a.png" && sleep 0.2 && scrot -o "$home/b.png"
        cmp -s "$home/a.png" "$home/b.png" && moved=no
    fi
    local alive=yes
    kill -0 "$pid" 2>/dev/null || alive=no
    kill -TERM "$pid" 2>/dev/null
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill "$xvfb" && wait "$xvfb" 2>/dev/null
    rm -rf "$home"
    if [ -z "$before" ] || [ -z "$after" ] || [ $alive = no ]; then
        echo "mode $mode: the program ended early" >&2
        figure "preview_cpu_mode${mode}_pct" "not measured: the program ended early"
        return 1
    fi
    cpu=$(awk -v d=$((after - before)) -v t="$ticks" -v s="$seconds" 'BEGIN { printf "%.2f", 100 * d / t / s }')
    echo "mode $mode: $cpu % of one core over $seconds s"
    # A still picture in a moving mode means the preview did not run: its
    # figure would say nothing about the preview.
    if [ $moved = no ]; then
        echo "mode $mode: the preview did not run" >&2
        figure "preview_cpu_mode${mode}_pct" "not measured: the picture did not move ($cpu %)"
    else
        figure "preview_cpu_mode${mode}_pct" "$cpu"
    fi
}

if ! command -v Xvfb >/dev/null; then
    echo "preview_cpu_bench: Xvfb missing, skipped"
    for mode in $modes; do figure "preview_cpu_mode${mode}_pct" "not measured: Xvfb missing"; done
    exit 0
fi
failed=0
for mode in $modes; do measure "$mode" || failed=1; done
exit $failed
