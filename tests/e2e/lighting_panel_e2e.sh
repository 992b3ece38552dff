#!/usr/bin/env bash
# The lighting panel with real clicks on the real program against the
# simulated keyboard, on an X display of its own with a window manager:
# switch the lighting on, choose a mode, move both sliders, pick a preset,
# paint two keys in mode 20. The wire trace must hold the writes, the
# simulated keyboard's memory must end as painted, and the picture must move
# while a moving mode runs. Usage: lighting_panel_e2e.sh BIN_DIR
set -euo pipefail
bin=$(cd "${1:?usage: $0 BIN_DIR}" && pwd)
skin="$bin/Skins/Main.ini"
home=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

export XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$home/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$home/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$home/display")
openbox >/dev/null 2>&1 &
pids+=($!)

"$bin/orvane" --simulate --trace "$home/trace" --sim-state "$home/state" >"$home/out" 2>&1 &
orvane=$!
pids+=($orvane)
xdotool search --sync --onlyvisible --pid "$orvane" >/dev/null
# The main window: the widest visible window of the program. Looked up before
# each click, as showing the window may give it a new one.
main_window() {
    local w best="" width most=0
    for w in $(xdotool search --onlyvisible --pid "$orvane"); do
        width=$(xwininfo -id "$w" | awk '/Width:/ { print $2 }')
        [ "${width:-0}" -gt "$most" ] && most=$width best=$w
    done
    echo "$best"
}
window=$(main_window)
# The window manager may still move the window after it shows: wait until it stays.
settle() {
    local before="" now
    for _ in $(seq 50); do
        now=$(xwininfo -id "$window" | grep Absolute | tr -d '\n')
        [ "$now" = "$before" ] && return
        before=$now
        sleep 0.2
    done
}
settle
# The panel fills once the keyboard's three lighting records have been read.
for _ in $(seq 100); do
    [ "$(grep -c '^> 04 .. .. 05 ' "$home/trace" 2>/dev/null)" -ge 3 ] && break
    sleep 0.1
done
sleep 0.3

# Centre of a control, or a point inside it, from the skin: "x y".
rect() { grep -m1 "^$1=" "$skin" | cut -d= -f2 | tr ',' ' '; }
centre() { rect "$1" | awk '{ print $1 + int($3 / 2), $2 + int($4 / 2) }'; }
click() { # x y, in the window
    window=$(main_window)
    settle
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.4
}
# A slider at position p of 0-5: a point whose pixel maps to p.
slider() { rect "$1" | awk -v p="$2" '{ print $1 + int((p * $3 + 4) / 5) - 8, $2 + int($4 / 2) }'; }
# Opens the mode list and clicks its entry `n` (0-based) in the popup.
choose_mode() {
    local popup=""
    # shellcheck disable=SC2046
    click $(centre CONTROL_XGcombox)
    for _ in $(seq 20); do
        popup=$(xdotool search --onlyvisible --pid "$orvane" | grep -v "^$window\$" | head -n1 || true)
        [ -n "$popup" ] && break
        sleep 0.1
    done
    [ -n "$popup" ] || fail "the mode list opened no popup"
    eval "$(xdotool getwindowgeometry --shell "$popup")"
    local item=$((HEIGHT / entries))
    xdotool mousemove "$((X + 40))" "$((Y + item * $1 + item / 2))" click 1
    sleep 0.4
}
has_write() { grep -q "^> $1" "$home/trace" || fail "no write $2 in the trace"; }
# A request of command `cmd` at `offset` whose payload starts with `bytes`.
request() { # cmd len offset bytes...
    local cmd=$1 len=$2 off=$3
    shift 3
    printf '04 .. .. %02x %02x %02x %02x 00 %s' "$cmd" "$len" $((off & 255)) $((off >> 8)) "$*"
}

# shellcheck disable=SC2046
click $(centre CONTROL_DengStaPic)
entries=$("$bin/orvanectl" --simulate info | awk '/^modes:/ { print NF - 1 }')
choose_mode 4 # the fifth offered mode: breathing on the simulated keyboard
has_write "$(request 6 1 0 05)" "mode 5"

# shellcheck disable=SC2046
click $(slider CONTROL_LightSlider 1)
has_write "$(request 6 1 1 01)" "brightness 1"
# shellcheck disable=SC2046
click $(slider CONTROL_SpeedSlider 4)
has_write "$(request 6 1 2 01)" "speed 1"
# shellcheck disable=SC2046
click $(centre CONTROL_Color3)
has_write "$(request 6 1 4 00)" "single colour"
has_write "$(request 6 3 5 00 7e ff)" "preset colour 3"

# The picture moves while the mode runs.
scrot -o "$home/a.png"
sleep 0.2
scrot -o "$home/b.png"
cmp -s "$home/a.png" "$home/b.png" && fail "the picture did not change in 200 ms"
read -r kx ky kw kh < <(rect KEY_010)

choose_mode $((entries - 1)) # the last offered mode: 20
has_write "$(request 6 1 0 14)" "mode 20"
click $((kx + kw / 2)) $((ky + kh / 2))
# shellcheck disable=SC2046
click $(centre KEY_01E)
has_write "$(request 0x11 3 $((43 * 3)) ff ff ff)" "the colour of Q"
has_write "$(request 0x11 3 $((64 * 3)) ff ff ff)" "the colour of A"

# Ending it like Exit saves the simulated keyboard's memory.
kill -TERM "$orvane"
for _ in $(seq 100); do kill -0 "$orvane" 2>/dev/null || break; sleep 0.1; done
[ -s "$home/state" ] || fail "the simulated keyboard's memory was not saved"
lighting=$("$bin/orvanectl" --simulate --sim-state "$home/state" read-lighting 0 8 | head -n1)
[ "$lighting" = "data: 14 01 01 00 00 00 7e ff" ] || fail "lighting area ends as '$lighting'"
echo "PASS"
