#!/usr/bin/env bash
# What a screen reader meets: the real program on an X display of its own, on
# a session bus of its own with the accessibility bus, walked by a real
# AT-SPI client (tests/e2e/atspi_check.py). The keys, Fn, the G keys, the
# window's buttons, the sliders with their values, the key dialog's controls,
# the confirmation after Apply and the About box are found by name and role.
# Usage: accessibility_e2e.sh BIN_DIR
set -euo pipefail
bin=$(cd "${1:?usage: $0 BIN_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# The distribution's interpreter, where python3-pyatspi installs itself.
py=/usr/bin/python3
if [ -z "${ORVANE_A11Y_SESSION:-}" ]; then
    command -v dbus-run-session >/dev/null || { echo "FAIL: no dbus-run-session (package dbus-daemon)" >&2; exit 1; }
    "$py" -c "import pyatspi" 2>/dev/null || { echo "FAIL: no pyatspi (package python3-pyatspi)" >&2; exit 1; }
    # A private session bus: the accessibility bus it starts on demand is ours alone.
    exec env ORVANE_A11Y_SESSION=1 dbus-run-session -- "$0" "$@"
fi
# shellcheck source-path=SCRIPTDIR source=x_session.sh
source "$here/x_session.sh"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
unset QT_ACCESSIBILITY

a11y_bus() { busctl --user call org.a11y.Bus /org/a11y/bus org.a11y.Bus GetAddress >/dev/null 2>&1 ||
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1; }
check() { "$py" "$here/atspi_check.py" "$bin" "$orvane" "$1" || fail "a screen reader does not find it all ($1)"; }

start_x
until_true a11y_bus || fail "the accessibility bus did not start (package at-spi2-core)"
start_orvane
# With the lighting on the panel shows its sliders and the mode list.
click_main CONTROL_DengStaPic
check main
click_main CONTROL_DengStaPic # off again: a click on a key opens its dialog

# The key dialog of A: its controls, then B as A's new key, OK, and Apply,
# whose confirmation a screen reader must find before it fades.
dialog=$(open_key_dialog KEY_01E)
check dialog
xdotool key b
click_dialog "$dialog" CONTROL_OK
until_true gone "$dialog" || fail "the key dialog did not close"
click_main CONTROL2_APPLY
check note

# The About box, from the window's own menu (a right-click on a free spot).
before=$(other_windows)
xdotool mousemove --window "$(main_window)" 600 12 click 3
new_window "$before" >/dev/null || fail "no menu on a right-click"
xdotool key Down Return
check about
echo "PASS: a screen reader finds every control by name and role"
