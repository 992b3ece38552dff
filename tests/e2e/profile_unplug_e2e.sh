#!/usr/bin/env bash
# The keyboard pulled while the profile manager is open, on the real program
# with real clicks: the manager closes, the window hides, and the keyboard
# plugged back is read again without showing any window.
# Usage: profile_unplug_e2e.sh BIN_DIR [SHOTS_DIR]
set -euo pipefail
bin=$(cd "${1:?usage: $0 BIN_DIR [SHOTS_DIR]}" && pwd)
shots=${2:-}
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
    [ -n "$shots" ] && import -window root "$shots/failure.png" 2>/dev/null
    exit 1
}
# shellcheck source=tests/e2e/support/profile_session.sh
. "$(dirname "$0")/support/profile_session.sh"

# How many requests a fresh start sends, so that the next one can be made
# the last before the keyboard is pulled.
use_home two
start
xdotool search --sync --onlyvisible --pid "$orvane" >/dev/null
wait_idle
startup=$(requests)
stop

rm -f "$home/trace" "$home/state"
use_home three
start --sim-fault "unplug:$((startup + 1)):1500"
xdotool search --sync --onlyvisible --pid "$orvane" >/dev/null
window=$(main_window)
settle
wait_idle
[ "$(requests)" = "$startup" ] || fail "this start sent $(requests) requests, the first $startup"
# shellcheck disable=SC2046
click $(centre FUNC_PROFILES)
manager=$(other_window)
[ -n "$manager" ] || fail "the profile manager did not open"
sleep 0.5
profile_skin="$bin/Skins/Profile.ini"
: >"$home/listed.fwc"
# Load a file (it is only listed), then Apply: Apply's first request pulls the keyboard.
# shellcheck disable=SC2046
xdotool mousemove --window "$manager" $(centre FUNC_LOAD "$profile_skin") click 1
sleep 0.8
xdotool type --delay 5 "$home/listed.fwc"
xdotool key Return
sleep 0.8
shot manager
# shellcheck disable=SC2046
xdotool mousemove --window "$manager" $(centre CONTROL2_APPLY "$profile_skin") click 1
for _ in $(seq 50); do
    [ -z "$(xdotool search --onlyvisible --pid "$orvane" 2>/dev/null)" ] && break
    sleep 0.1
done
shot unplugged
[ -z "$(xdotool search --onlyvisible --pid "$orvane" 2>/dev/null)" ] ||
    fail "the manager or the window stayed open after the keyboard was pulled"
# Plugged back 1.5 s later: the connection reads the keyboard again.
pulled=$(requests)
for _ in $(seq 100); do
    [ "$(requests)" -gt $((pulled + 20)) ] && break
    sleep 0.1
done
wait_idle
[ "$(requests)" -gt $((pulled + 20)) ] || fail "the keyboard plugged back was not read again"
sleep 0.5
shot replugged
[ -z "$(xdotool search --onlyvisible --pid "$orvane" 2>/dev/null)" ] || fail "plugging back showed a window"
kill -0 "$orvane" || fail "the program ended"
stop
echo "PASS"
