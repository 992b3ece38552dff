#!/usr/bin/env bash
# The keyboard pulled while the profile manager is open, on the real program
# with real clicks: the manager closes, the window hides, and the keyboard
# plugged back is read again without showing any window.
# Usage: profile_unplug_e2e.sh BIN_DIR [SHOTS_DIR]
set -euo pipefail
bin=$(cd "${1:?usage: $0 BIN_DIR [SHOTS_DIR]}" && pwd)
shots=${2:-}
# shellcheck source-path=SCRIPTDIR source=x_session.sh
source "$(dirname "$0")/x_session.sh"

start_x
# How many requests a fresh start sends, so that the next one can be made
# the last before the keyboard is pulled.
use_home two
count_startup
use_home three
start_orvane --sim-fault "unplug:$((startup + 1)):1500"
wait_idle
[ "$(requests)" = "$startup" ] || fail "this start sent $(requests) requests, the first $startup"
manager=$(opens FUNC_PROFILES "profile manager")
: >"$home/listed.fwc"
# Load a file (it is only listed), then Apply: Apply's first request pulls the keyboard.
before=$(other_windows)
click_in "$manager" "$profile_skin" FUNC_LOAD
file_dialog "$before" "$home/listed.fwc"
sleep 0.3
save_shot manager
# Counted before the click: the keyboard, pulled at Apply's first request,
# comes back 1.5 s later, which may be before a slow program has closed
# its windows.
pulled=$(requests)
click_in "$manager" "$profile_skin" CONTROL2_APPLY
until_true no_window_shown || true
save_shot unplugged
no_window_shown ||
    fail "the manager or the window stayed open after the keyboard was pulled"
# Plugged back 1.5 s later: the connection reads the keyboard again.
read_again() { [ "$(requests)" -gt $((pulled + 20)) ]; }
until_true read_again || true
wait_idle
read_again || fail "the keyboard plugged back was not read again"
sleep 0.5
save_shot replugged
no_window_shown || fail "plugging back showed a window"
kill -0 "$orvane" || fail "the program ended"
stop
echo "PASS"
