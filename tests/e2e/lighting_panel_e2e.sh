#!/usr/bin/env bash
# The lighting panel with real clicks on the real program against the
# simulated keyboard, on an X display of its own with a window manager:
# switch the lighting on, choose a mode, move both sliders, pick a preset,
# type a red value, paint two keys in mode 20. The wire trace must hold the writes, the
# simulated keyboard's memory must end as painted, and the picture must move
# while a moving mode runs. Usage: lighting_panel_e2e.sh BIN_DIR
set -euo pipefail
bin=$(cd "${1:?usage: $0 BIN_DIR}" && pwd)
# shellcheck source-path=SCRIPTDIR source=x_session.sh
source "$(dirname "$0")/x_session.sh"

# click_slider SLIDER P: a click on a point of the slider whose pixel maps
# to position P of 0-5.
click_slider() {
    # shellcheck disable=SC2046
    click "$(main_window)" $(rect "$skin" "$1" | awk -v p="$2" '{ print $1 + int((p * $3 + 4) / 5) - 8, $2 + int($4 / 2) }')
}
# Opens the mode list and clicks its entry `n` (0-based) in the popup.
click_mode() {
    local popup
    popup=$(open_mode_list)
    eval "$(xdotool getwindowgeometry --shell "$popup")"
    local item=$((HEIGHT / entries))
    xdotool mousemove "$((X + 40))" "$((Y + item * $1 + item / 2))" click 1
    sleep 0.4
}
has_write() { until_true grep -q "^> $1" "$home/trace" || fail "no write $2 in the trace"; }
# A request of command `cmd` at `offset` whose payload starts with `bytes`.
request() { # cmd len offset bytes...
    local cmd=$1 len=$2 off=$3
    shift 3
    printf '04 .. .. %02x %02x %02x %02x 00 %s' "$cmd" "$len" $((off & 255)) $((off >> 8)) "$*"
}

start_x
# shellcheck disable=SC2119 # no extra options
start_orvane
click_main CONTROL_DengStaPic
entries=$("$bin/orvanectl" --simulate info | awk '/^modes:/ { print NF - 1 }')
click_mode 4 # the fifth offered mode: breathing on the simulated keyboard
has_write "$(request 6 1 0 05)" "mode 5"

click_slider CONTROL_LightSlider 1
has_write "$(request 6 1 1 01)" "brightness 1"
click_slider CONTROL_SpeedSlider 4
has_write "$(request 6 1 2 01)" "speed 1"
click_main CONTROL_Color3
has_write "$(request 6 1 4 00)" "single colour"
has_write "$(request 6 3 5 00 7e ff)" "preset colour 3"
# Typed into the red field: a letter is refused, Enter applies the colour.
click_main COLOR_R
xdotool key ctrl+a
xdotool type --delay 50 "1x2"
xdotool key Return
has_write "$(request 6 3 5 0c 7e ff)" "the typed red 12"

# The picture moves while the mode runs.
scrot -o "$home/a.png"
sleep 0.2
scrot -o "$home/b.png"
cmp -s "$home/a.png" "$home/b.png" && fail "the picture did not change in 200 ms"

click_mode $((entries - 1)) # the last offered mode: 20
has_write "$(request 6 1 0 14)" "mode 20"
click_main KEY_010
click_main KEY_01E
has_write "$(request 0x11 3 $((43 * 3)) ff ff ff)" "the colour of Q"
has_write "$(request 0x11 3 $((64 * 3)) ff ff ff)" "the colour of A"

# Ending it like Exit saves the simulated keyboard's memory.
stop
[ -s "$home/state" ] || fail "the simulated keyboard's memory was not saved"
lighting=$(ctl read-lighting 0 8 | head -n1)
[ "$lighting" = "data: 14 01 01 00 00 0c 7e ff" ] || fail "lighting area ends as '$lighting'"
echo "PASS"
