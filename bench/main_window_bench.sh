#!/bin/bash
# The main window on a real X server (Xvfb) with a tray host (trayer):
#   - start to tray icon: process start until its icon is docked, median of RUNS;
#   - idle: window hidden, simulated keyboard connected, lighting switch off,
#     IDLE_SECONDS: CPU share of one core and the program's wake-ups (context
#     switches of all its threads);
#   - resident memory with the window shown.
# Figures only; nothing here passes or fails on a number. With
# ORVANE_BENCH_FIGURES set, each figure is also appended to that file.
set -u
here=$(cd "$(dirname "$0")" && pwd)
program=${ORVANE:-$here/../bin/orvane}
# Run from the source tree: the default build beside it.
[ -x "$program" ] || program=$here/../build/bin/orvane
RUNS=${RUNS:-7}
IDLE_SECONDS=${IDLE_SECONDS:-60}
figures=(start_to_tray_s idle_cpu_pct idle_wakeups_per_s rss_mb)

declare -A written
figure() {
    written[$1]=1
    [ -z "${ORVANE_BENCH_FIGURES:-}" ] || echo "$1=$2" >>"$ORVANE_BENCH_FIGURES"
}
# Every figure not written yet gets the reason it is missing.
not_measured() { for f in "${figures[@]}"; do [ -n "${written[$f]:-}" ] || figure "$f" "not measured: $1"; done; }
for tool in Xvfb trayer xdotool; do
    command -v $tool >/dev/null || {
        echo "main_window_bench: $tool missing, skipped"
        not_measured "$tool missing"
        exit 0
    }
done

work=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS XDG_CURRENT_DESKTOP

exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1400x900x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
if [ ! -s "$work/display" ]; then
    echo "main_window_bench: Xvfb did not start, skipped"
    not_measured "Xvfb did not start"
    exit 0
fi
export DISPLAY=:$(cat "$work/display")
trayer --edge top --align right --widthtype pixel --width 200 --height 32 >/dev/null 2>&1 &
pids+=($!)
tray=0
for _ in $(seq 200); do xdotool search --classname trayer >/dev/null 2>&1 && { tray=1; break; }; sleep 0.05; done
if [ $tray = 0 ]; then
    echo "main_window_bench: the tray host did not start, skipped"
    not_measured "the tray host did not start"
    exit 0
fi

now() { date +%s.%N; }
docked() { # the program's window inside the tray
    for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        [ "$Y" -lt 32 ] && [ "$X" -ge 1200 ] && return 0
    done
    return 1
}
# A program that ends, or never docks, before it is measured fails the benchmark.
died() {
    echo "main_window_bench: $1" >&2
    cat "$work/err" >&2
    not_measured "$1"
    exit 1
}
# Waits for the icon of PID in the tray, 20 s at most.
wait_docked() {
    local end=$((SECONDS + 20))
    until docked "$1"; do
        kill -0 "$1" 2>/dev/null || died "the program ended early"
        [ $SECONDS -lt $end ] || died "the tray icon did not dock within 20 s"
        sleep 0.01
    done
}

times=()
for _ in $(seq "$RUNS"); do
    start=$(now)
    "$program" /Start >/dev/null 2>"$work/err" &
    pid=$!
    wait_docked $pid
    times+=("$(awk -v a="$start" -v b="$(now)" 'BEGIN { printf "%.3f", b - a }')")
    kill $pid; wait $pid 2>/dev/null
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (RUNS + 1) / 2 ))p")
printf 'start to tray icon: median %.3f s over %d runs (%s)\n' "$median" "$RUNS" "${times[*]}"
figure start_to_tray_s "$median"

ticks() { awk '{print $14 + $15}' /proc/$1/stat; }
switches() { cat /proc/$1/task/*/status | awk '/ctxt_switches/ {s += $2} END {print s}'; }
"$program" --simulate /Start >/dev/null 2>"$work/err" &
pid=$!
pids+=($pid)
wait_docked $pid
sleep 2 # the connection settles
t0=$(ticks $pid); s0=$(switches $pid)
sleep "$IDLE_SECONDS"
t1=$(ticks $pid); s1=$(switches $pid)
cpu=$(awk -v d=$((t1 - t0)) -v hz="$(getconf CLK_TCK)" -v s="$IDLE_SECONDS" 'BEGIN { printf "%.3f", 100 * d / hz / s }')
wakeups=$(awk -v d=$((s1 - s0)) -v s="$IDLE_SECONDS" 'BEGIN { printf "%.2f", d / s }')
echo "idle, hidden, keyboard connected, ${IDLE_SECONDS} s: CPU $cpu % of one core, $((s1 - s0)) wake-ups ($wakeups/s)"
figure idle_cpu_pct "$cpu"
figure idle_wakeups_per_s "$wakeups"

# A keyboard present at start opens the window: a fresh copy shows it
# without depending on a second start finding the idle one.
kill "$pid"
wait "$pid" 2>/dev/null
"$program" --simulate >/dev/null 2>"$work/err" &
pid=$!
pids+=($pid)
shown=0
for _ in $(seq 200); do
    xdotool search --onlyvisible --pid "$pid" --name "Orvane Keyboard Settings" >/dev/null 2>&1 && { shown=1; break; }
    kill -0 "$pid" 2>/dev/null || died "the program ended early"
    sleep 0.05
done
if [ $shown = 1 ]; then
    sleep 1
    rss=$(awk '/VmRSS/ {printf "%.1f", $2 / 1024}' /proc/$pid/status)
    echo "resident memory, window shown: $rss MB"
    figure rss_mb "$rss"
else
    echo "main_window_bench: the window did not open; resident memory not measured" >&2
    figure rss_mb "not measured: the window did not open"
fi
