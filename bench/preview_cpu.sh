#!/usr/bin/env bash
# Whole-program CPU while the live preview runs: the program against the
# simulated keyboard on its own Xvfb display, window shown, lighting switch
# on, for each measured mode 20 seconds. The preview draws 20 frames a second;
# the aim is under 2 % of one core. Usage: bench/preview_cpu.sh [BIN_DIR] [SECONDS]
set -euo pipefail
bin=$(cd "${1:-build/bin}" && pwd)
seconds=${2:-20}
modes=${MODES:-1 20}
ticks=$(getconf CLK_TCK)

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

measure() {
    local mode=$1 home display xvfb pid before after
    home=$(mktemp -d)
    export XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/run
    mkdir -p "$XDG_DATA_HOME/Brislane" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    printf '[KEYCOLOR]\nDengCheck=1\n' >"$XDG_DATA_HOME/Brislane/zaru.ini"
    "$bin/orvanectl" --simulate --sim-state "$home/state" set-lighting mode "$mode" --profile 0 >/dev/null

    # Xvfb picks a free display itself and names it on fd 3.
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$home/display" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$home/display" ] && break; sleep 0.1; done
    display=$(head -n1 "$home/display")
    export DISPLAY=:$display

    # A keyboard present at start opens the window.
    "$bin/orvane" --simulate --sim-state "$home/state" >/dev/null 2>&1 &
    pid=$!
    sleep 3
    before=$(cpu_ticks "$pid")
    sleep "$seconds"
    after=$(cpu_ticks "$pid")
    # The picture must be moving while measured (mode 20 stands still).
    if [ "$mode" != 20 ] && command -v scrot >/dev/null; then
        scrot -o "$home/a.png" && sleep 0.2 && scrot -o "$home/b.png"
        cmp -s "$home/a.png" "$home/b.png" && echo "mode $mode: the preview did not run" >&2
    fi
    kill -TERM "$pid"
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill "$xvfb" && wait "$xvfb" 2>/dev/null || true
    rm -rf "$home"
    awk -v m="$mode" -v d=$((after - before)) -v t="$ticks" -v s="$seconds" \
        'BEGIN { printf "mode %d: %.2f %% of one core over %d s\n", m, 100 * d / t / s, s }'
}

for mode in $modes; do measure "$mode"; done
