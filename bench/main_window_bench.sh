#!/bin/bash
# The main window on each desktop of bench/sessions.sh (X11: Xvfb with
# openbox and trayer; Wayland: sway headless with waybar's tray):
#   - start to tray icon: process start until its icon is in the tray, median
#     of RUNS;
#   - idle: window hidden, simulated keyboard connected, lighting switch off,
#     IDLE_SECONDS: CPU share of one core and the program's wake-ups (context
#     switches of all its threads);
#   - resident memory with the window shown.
# Figures only; nothing here passes or fails on a number. With
# ORVANE_BENCH_FIGURES set, each figure is also appended to that file, its
# name carrying the platform (start_to_tray_X11_s, rss_Wayland_mb, ...).
set -u
here=$(cd "$(dirname "$0")" && pwd)
source_dir=${ORVANE_SOURCE_DIR:-$here/..}
program=${ORVANE:-$here/../bin/orvane}
# Run from the source tree: the default build beside it.
[ -x "$program" ] || program=$here/../build/bin/orvane
bin=$(cd "$(dirname "$program")" && pwd)
RUNS=${RUNS:-7}
IDLE_SECONDS=${IDLE_SECONDS:-60}
. "$source_dir/bench/sessions.sh"

declare -A written
figure() {
    written[$1]=1
    [ -z "${ORVANE_BENCH_FIGURES:-}" ] || echo "$1=$2" >>"$ORVANE_BENCH_FIGURES"
}
# Every figure of the platform not written yet gets the reason it is missing.
not_measured() {
    local f
    for f in start_to_tray_${label}_s idle_cpu_${label}_pct idle_wakeups_${label}_per_s rss_${label}_mb; do
        [ -n "${written[$f]:-}" ] || figure "$f" "not measured: $1"
    done
}
# A program that ends, or never docks, before it is measured fails the platform.
died() {
    echo "main_window_bench ($label): $1" >&2
    cat "$home/err" >&2
    session_logs >&2
    not_measured "$1"
    return 1
}
now() { date +%s.%N; }

# Waits for the icon of PID in the tray, 20 s at most.
wait_docked() {
    local end=$((SECONDS + 20))
    until session_docked "$1"; do
        kill -0 "$1" 2>/dev/null || { died "the program ended early"; return 1; }
        [ $SECONDS -lt $end ] || { died "the tray icon did not show within 20 s"; return 1; }
        sleep 0.01
    done
}

measure() {
    local times=() start pid
    for _ in $(seq "$RUNS"); do
        start=$(now)
        "$program" /Start >/dev/null 2>"$home/err" &
        pid=$!
        wait_docked $pid || { end_pid $pid; return 1; }
        times+=("$(awk -v a="$start" -v b="$(now)" 'BEGIN { printf "%.3f", b - a }')")
        end_pid $pid
    done
    local median
    median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((RUNS + 1) / 2))p")
    printf '%s: start to tray icon: median %.3f s over %d runs (%s)\n' "$label" "$median" "$RUNS" "${times[*]}"
    figure "start_to_tray_${label}_s" "$median"

    "$program" --simulate /Start >/dev/null 2>"$home/err" &
    pid=$!
    wait_docked $pid || { end_pid $pid; return 1; }
    sleep 2 # the connection settles
    local t0 s0 t1 s1
    t0=$(cpu_ns $pid) s0=$(switches $pid)
    sleep "$IDLE_SECONDS"
    t1=$(cpu_ns $pid) s1=$(switches $pid)
    kill -0 $pid 2>/dev/null || { died "the program ended while idle"; return 1; }
    local cpu wakeups
    cpu=$(awk -v d=$((t1 - t0)) -v s="$IDLE_SECONDS" 'BEGIN { printf "%.3f", 100 * d / 1e9 / s }')
    wakeups=$(awk -v d=$((s1 - s0)) -v s="$IDLE_SECONDS" 'BEGIN { printf "%.2f", d / s }')
    echo "$label: idle, hidden, keyboard connected, ${IDLE_SECONDS} s: CPU $cpu % of one core, $((s1 - s0)) wake-ups ($wakeups/s)"
    figure "idle_cpu_${label}_pct" "$cpu"
    figure "idle_wakeups_${label}_per_s" "$wakeups"

    # A keyboard present at start opens the window: a fresh copy shows it
    # without depending on a second start finding the idle one.
    end_pid $pid
    "$program" --simulate >/dev/null 2>"$home/err" &
    pid=$!
    if ! until_true session_shown $pid "$main_title"; then
        kill -0 $pid 2>/dev/null || { died "the program ended early"; return 1; }
        echo "main_window_bench ($label): the window did not open; resident memory not measured" >&2
        figure "rss_${label}_mb" "not measured: the window did not open"
        end_pid $pid
        return 0
    fi
    sleep 1 # the first frames are drawn
    local rss
    rss=$(awk '/VmRSS/ {printf "%.1f", $2 / 1024}' /proc/$pid/status)
    echo "$label: resident memory, window shown: $rss MB"
    figure "rss_${label}_mb" "$rss"
    end_pid $pid
}

failed=0
for platform in $session_platforms; do
    label=$(session_label "$platform")
    session_run "$platform" measure || failed=1
done
exit $failed
