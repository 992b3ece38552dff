#!/usr/bin/env bash
# What a keyboard owner does with the real program, on an X display of its
# own with a window manager and a tray host, against the paced simulated
# keyboard, with real clicks and keys only. Each journey ends by looking at
# the keyboard's memory and the files on disk.
# Usage: journeys_e2e.sh BIN_DIR JOURNEY (remap)
set -euo pipefail
bin=$(cd "${1:?usage: $0 BIN_DIR JOURNEY}" && pwd)
journey=${2:?usage: $0 BIN_DIR JOURNEY}
# shellcheck source-path=SCRIPTDIR source=x_session.sh
source "$(dirname "$0")/x_session.sh"

# Looks of the Apply button with the pointer away from it, to tell enabled
# from disabled.
apply_look() {
    local x y w h
    read -r x y w h < <(rect "$skin" CONTROL2_APPLY)
    eval "$(xdotool getwindowgeometry --shell "$(main_window)")"
    xdotool mousemove 1270 10
    sleep 0.2
    scrot -o -a "$((X + x)),$((Y + y)),$w,$h" "$home/apply.png"
    md5sum <"$home/apply.png"
}
# Presses Apply and waits until the key matrix went out and Apply is disabled
# again (a fully successful Apply).
apply_and_wait() {
    local before
    before=$(sent)
    click_main CONTROL2_APPLY
    until_true sent_since "$before" 08 || fail "Apply sent no key matrix"
    until_true apply_disabled || fail "Apply stayed enabled after applying"
}
apply_disabled() { [ "$(apply_look)" = "$disabled" ]; }
# key_in_profile FILE RECORD VALUE: the profile file holds a key record of
# kind 2 (a plain key) with this value.
key_in_profile() { "$bin/orvanectl" dump-profile "$1" | grep -q "^record $2 kind 2 aux 0 value $3 "; }
# The keyboard's profile 0 sends B (HID 05) where A (HID 04) sat, after Q (14).
keyboard_has_a_as_b() { ctl read-matrix 0 | grep -q '02 02 14 02 02 05 '; }

journey_remap() {
    start_orvane
    disabled=$(apply_look)
    local dialog
    dialog=$(open_key_dialog KEY_01E)
    xdotool key b
    click_dialog "$dialog" CONTROL_OK
    until_true gone "$dialog" || fail "OK did not close the key dialog"
    [ "$(apply_look)" != "$disabled" ] || fail "a remap left Apply disabled"
    apply_and_wait
    exit_from_tray
    keyboard_has_a_as_b || fail "the keyboard does not send B for A after Exit"
    key_in_profile "$data/\$Profile0" 30 48 || fail "the working profile file lacks A's new key"

    # Started again, the key is still remapped on both sides.
    start_orvane
    keyboard_has_a_as_b || fail "the keyboard lost A's new key at the restart"
    key_in_profile "$data/\$Profile0" 30 48 || fail "the restart lost A's new key in the working profile file"
    [ "$(apply_look)" = "$disabled" ] || fail "Apply is enabled right after the start"
    dialog=$(open_key_dialog KEY_01E)
    click_dialog "$dialog" CONTROL_CANCEL
    until_true gone "$dialog" || fail "Cancel did not close the key dialog"
}

case $journey in
remap) start_x && journey_remap ;;
*) fail "no journey '$journey'" ;;
esac
echo "PASS"
