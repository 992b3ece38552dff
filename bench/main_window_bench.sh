#!/bin/bash
# The main window on a real X server (Xvfb) with a tray host (trayer):
#   - start to tray icon: process start until its icon is docked, median of RUNS;
#   - idle: window hidden, simulated keyboard connected, lighting switch off,
#     IDLE_SECONDS: CPU share of one core and the program's wake-ups (context
#     switches of all its threads);
#   - resident memory with the window shown.
# Figures only; nothing here passes or fails on a number.
set -u
here=$(cd "$(dirname "$0")" && pwd)
program=${ORVANE:-$here/../bin/orvane}
# Run from the source tree: the default build beside it.
[ -x "$program" ] || program=$here/../build/bin/orvane
RUNS=${RUNS:-7}
IDLE_SECONDS=${IDLE_SECONDS:-60}
for tool in Xvfb trayer xdotool; do
    command -v $tool >/dev/null || { echo "main_window_bench: $tool missing, skipped"; exit 0; }
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
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=:$(cat "$work/display")
trayer --edge top --align right --widthtype pixel --width 200 --height 32 >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do xdotool search --classname trayer >/dev/null 2>&1 && break; sleep 0.05; done

now() { date +%s.%N; }
docked() { # the program's window inside the tray
    for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        [ "$Y" -lt 32 ] && [ "$X" -ge 1200 ] && return 0
    done
    return 1
}

times=()
for _ in $(seq "$RUNS"); do
    start=$(now)
    "$program" /Start >/dev/null 2>"$work/err" &
    pid=$!
    until docked $pid; do kill -0 $pid 2>/dev/null || { cat "$work/err"; exit 1; }; sleep 0.01; done
    times+=("$(echo "$(now) - $start" | bc)")
    kill $pid; wait $pid 2>/dev/null
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (RUNS + 1) / 2 ))p")
printf 'start to tray icon: median %.3f s over %d runs (%s)\n' "$median" "$RUNS" "${times[*]}"

ticks() { awk '{print $14 + $15}' /proc/$1/stat; }
switches() { cat /proc/$1/task/*/status | awk '/ctxt_switches/ {s += $2} END {print s}'; }
"$program" --simulate /Start >/dev/null 2>&1 &
pid=$!
pids+=($pid)
until docked $pid; do kill -0 $pid 2>/dev/null || exit 1; sleep 0.05; done
sleep 2 # the connection settles
t0=$(ticks $pid); s0=$(switches $pid)
sleep "$IDLE_SECONDS"
t1=$(ticks $pid); s1=$(switches $pid)
hz=$(getconf CLK_TCK)
echo "idle, hidden, keyboard connected, ${IDLE_SECONDS} s: CPU $(echo "scale=3; 100 * ($t1 - $t0) / $hz / $IDLE_SECONDS" | bc) % of one core, $((s1 - s0)) wake-ups ($(echo "scale=2; ($s1 - $s0) / $IDLE_SECONDS" | bc)/s)"

"$program" --simulate >/dev/null 2>&1 # a second start opens the running copy's window
for _ in $(seq 100); do xdotool search --onlyvisible --name "Orvane Keyboard Settings" >/dev/null 2>&1 && break; sleep 0.05; done
sleep 1
echo "resident memory, window shown: $(awk '/VmRSS/ {printf "%.1f MB", $2 / 1024}' /proc/$pid/status)"
"$program" /Kill >/dev/null 2>&1
