#!/usr/bin/env bash
# What the live preview costs, on each desktop of bench/sessions.sh: the
# program against the simulated keyboard, window shown, lighting switch on,
# SECONDS (10) per mode of MODES (every moving mode, and the painted keys of
# 20, where nothing moves). Beside it, in the same session, with the same
# lighting and over the same seconds, runs preview_floor: the same key
# rectangles repainted at the same 20 frames a second from one cached
# picture, the least such a picture can cost. Printed per mode: the
# program's CPU share of one core, the floor's, and their ratio (the aim: at
# most 1.3). With ORVANE_BENCH_FIGURES set, the figures are also appended
# to that file.
# Usage: preview_cpu_bench [BIN_DIR] [SECONDS]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_dir=${ORVANE_SOURCE_DIR:-$here/..}
bin=${1:-$here/../bin}
# Run from the source tree: the default build beside it.
[ -x "$bin/orvane" ] || bin=$here/../build/bin
floor=$here/preview_floor
[ -x "$floor" ] || floor=$here/../build/bench/preview_floor
seconds=${2:-${SECONDS_PER_MODE:-10}}
modes=${MODES:-1 2 3 4 5 10 11 12 13 14 15 16 18 20}
still_modes=" 20 "
bin=$(cd "$bin" && pwd)
. "$source_dir/bench/sessions.sh"

figure() { [ -z "${ORVANE_BENCH_FIGURES:-}" ] || echo "$1=$2" >>"$ORVANE_BENCH_FIGURES"; }
# Every figure of the platform gets the reason it is missing.
not_measured() {
    local mode
    for mode in $modes; do mode_not_measured "$mode" "$1"; done
}
mode_not_measured() {
    figure "preview_cpu_${label}_mode_$1_pct" "not measured: $2"
    [[ $still_modes == *" $1 "* ]] || figure "preview_ratio_${label}_mode_$1" "not measured: $2"
}
share() { awk -v d="$1" -v s="$seconds" 'BEGIN { printf "%.2f", 100 * d / 1e9 / s }'; }

# The floor beside the program, lit as the program's preview: the settings
# the simulated keyboard reports for profile 0.
start_floor() {
    local settings args=()
    settings=$("$bin/orvanectl" --simulate --sim-state "$1" lighting --profile 0) || return 1
    local name
    for name in mode brightness speed direction colourful colour; do
        args+=(--$name "$(sed -n "s/^$name: //p" <<<"$settings")")
    done
    "$floor" --skin "$bin/Skins/Main.ini" "${args[@]}" >"$home/floor.out" 2>&1 &
    floor_pid=$!
    until_true grep -qx shown "$home/floor.out" && until_true session_shown $floor_pid
}

# Prints the mode's figures; fails when the program could not be measured.
measure() {
    local mode=$1 state=$home/state pid
    if ! "$bin/orvanectl" --simulate --sim-state "$state" set-lighting mode "$mode" --profile 0 >/dev/null; then
        mode_not_measured "$mode" "the simulated keyboard refused mode $mode"
        return 1
    fi
    if ! start_floor "$state"; then
        echo "$label mode $mode: the floor did not show" >&2
        cat "$home/floor.out" >&2
        mode_not_measured "$mode" "the floor did not show"
        end_pid $floor_pid
        return 1
    fi
    # A keyboard present at start opens the window.
    "$bin/orvane" --simulate --sim-state "$state" >/dev/null 2>"$home/err" &
    pid=$!
    if ! until_true session_shown $pid "$main_title"; then
        echo "$label mode $mode: the window did not open" >&2
        cat "$home/err" >&2
        session_logs >&2
        mode_not_measured "$mode" "the window did not open"
        end_pid $pid
        end_pid $floor_pid
        return 1
    fi
    # Side by side, both wholly on the screen, so neither is left undrawn.
    local x y w h
    read -r x y w h < <(session_geometry $pid)
    session_place $pid 0 0
    session_place $floor_pid $((w + 20)) 0
    sleep 2 # the first frames are drawn and the placing done
    local p0 f0 p1 f1
    p0=$(cpu_ns $pid) f0=$(cpu_ns $floor_pid)
    sleep "$seconds"
    p1=$(cpu_ns $pid) f1=$(cpu_ns $floor_pid)
    local moved=yes picture=$home/picture
    # The picture must be moving while measured: a still one says nothing
    # about the preview. The sparkles change once a second.
    if [[ $still_modes != *" $mode "* ]]; then
        read -r x y w h < <(session_geometry $pid)
        if session_picture "$picture-a.png" "$x" "$y" "$w" "$h" && sleep 1.1 &&
            session_picture "$picture-b.png" "$x" "$y" "$w" "$h"; then
            cmp -s "$picture-a.png" "$picture-b.png" && moved=no
        else
            moved=unknown
        fi
    fi
    local alive=yes
    kill -0 $pid 2>/dev/null || alive=no
    kill -0 $floor_pid 2>/dev/null || alive=no
    end_pid $pid
    end_pid $floor_pid
    if [ -z "$p0" ] || [ -z "$p1" ] || [ $alive = no ]; then
        echo "$label mode $mode: the program or the floor ended early" >&2
        cat "$home/err" "$home/floor.out" >&2
        mode_not_measured "$mode" "the program or the floor ended early"
        return 1
    fi
    local cpu floor_cpu ratio
    cpu=$(share $((p1 - p0)))
    floor_cpu=$(share $((f1 - f0)))
    ratio=$(awk -v p=$((p1 - p0)) -v f=$((f1 - f0)) 'BEGIN { if (f > 0) printf "%.2f", p / f }')
    echo "$label mode $mode: $cpu % of one core over $seconds s; floor $floor_cpu %; ratio ${ratio:-none}"
    case $moved in
    no)
        echo "$label mode $mode: the preview did not run" >&2
        mode_not_measured "$mode" "the picture did not move ($cpu %)"
        return 0
        ;;
    unknown)
        echo "$label mode $mode: no picture of the window" >&2
        mode_not_measured "$mode" "no picture showed the preview running ($cpu %)"
        return 1
        ;;
    esac
    figure "preview_cpu_${label}_mode_${mode}_pct" "$cpu"
    [[ $still_modes == *" $mode "* ]] && return 0
    figure "preview_ratio_${label}_mode_${mode}" "${ratio:-not measured: the floor used no CPU}"
}

measure_platform() {
    mkdir -p "$data"
    printf '[KEYCOLOR]\nDengCheck=1\n' >"$data/zaru.ini"
    local failed=0 mode
    for mode in $modes; do measure "$mode" || failed=1; done
    return $failed
}

failed=0
for platform in $session_platforms; do
    label=$(session_label "$platform")
    session_run "$platform" measure_platform || failed=1
done
exit $failed
