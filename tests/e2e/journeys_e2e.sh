#!/usr/bin/env bash
# What a keyboard owner does with the real program, on an X display of its
# own with a window manager and a tray host, against the paced simulated
# keyboard, with real clicks and keys only. Each journey ends by looking at
# the keyboard's memory and the files on disk.
# Usage: journeys_e2e.sh BIN_DIR JOURNEY (remap, paint, pulled, files, macro, keyboard, killed)
set -euo pipefail
bin=$(cd "${1:?usage: $0 BIN_DIR JOURNEY}" && pwd)
journey=${2:?usage: $0 BIN_DIR JOURNEY}
# shellcheck source-path=SCRIPTDIR source=x_session.sh
source "$(dirname "$0")/x_session.sh"
# shellcheck source-path=SCRIPTDIR source=journey_steps.sh
source "$(dirname "$0")/journey_steps.sh"

# Looks of the Apply button with the pointer away from it, to tell enabled
# from disabled.
apply_look() {
    pointer_away 0.2
    grab CONTROL2_APPLY "$home/apply.png"
    md5sum <"$home/apply.png"
}
# A is given B (HID 05).
typed_key=b typed_hid=05 typed_scan=48
# Recorded without the record-delay option: 50 ms after each action but the last.
macro_delays="50 50 50 0"

journey_paint() {
    start_orvane
    paint_two_colours

    # To profile 2 and back: profile 1's colours come back to the keyboard.
    local before
    before=$(sent)
    click_main FUNC_PROFILE2
    until_true sent_since "$before" 11 || fail "switching to profile 2 sent no key colours"
    before=$(sent)
    click_main FUNC_PROFILE1
    until_true sent_since "$before" 11 || fail "switching back sent no key colours"
    sleep 0.5
    check_painted "switched back"
    # What was sent is what the keyboard keeps.
    exit_from_tray
    check_held_colours
}

# keyboard_image: the key matrices of the three profiles and the macro memory.
keyboard_image() {
    local p
    for p in 0 1 2; do ctl read-matrix "$p"; done
    ctl read-macros 1024
}
# seed_macro: before the program first reads it, the keyboard already holds a
# macro ("Keep": A down, 50 ms, A up, twice), so its macro memory is worth
# comparing. The record is laid out by hand and encoded by orvanectl.
seed_macro() {
    local record=$home/record.bin block
    head -c 32512 /dev/zero >"$record"
    put() { printf '%b' "$2" | dd of="$record" bs=1 seek="$1" conv=notrunc status=none; }
    put 0 'K\0e\0e\0p\0'
    put 500 '\x02'                        # repeat
    put 502 '\x01\x00'                    # in use
    put 506 '\x07\x00'                    # id
    put 508 '\x02\x00'                    # actions
    put 512 '\x00\x00\x00\x00\x1e\x00\x00\x00' # A down
    put 520 '\x32\x00\x00\x00\x1e\x00\x01\x00' # A up after 50 ms
    block=$("$bin/orvanectl" encode-macros "@$record" | sed -n 's/^data: //p' | head -n 1)
    [ -n "$block" ] || fail "orvanectl encoded no macro block"
    ctl write-macros "$block" >/dev/null || fail "the keyboard took no macro block"
}
journey_files() {
    seed_macro
    start_orvane
    disabled=$(apply_look)
    remap_a
    apply_and_wait
    local export=$home/mine.fwc
    export_to "$export"
    exit_from_tray
    local saved
    saved=$(keyboard_image)

    start_orvane
    wait_idle
    local n question
    n=$(sent)
    question=$(opens FUNC_DEFAULT question)
    chord alt+y
    until_true gone "$question" || fail "the question stayed open"
    until_true sent_since "$n" 08 || fail "Default sent no key matrix"
    wait_idle
    exit_from_tray
    ! keyboard_has_typed || fail "Default left A sending $typed_key"
    [ "$(keyboard_image)" != "$saved" ] || fail "Default changed nothing"
    # Default keeps the macros; wiped here, only the import can bring them back.
    ctl write-macros 00000000000000000000000000000000 >/dev/null || fail "the macro memory could not be wiped"

    start_orvane
    wait_idle
    menu_file 0 "$export" # Restore profile from file...
    n=$(sent)
    until_true sent_since "$n" 08 || true
    wait_idle
    exit_from_tray
    [ "$(keyboard_image)" = "$saved" ] || fail "the keyboard differs from what was exported"
}

# whole_user_file FILE OLD: a user data file with the same entries as OLD,
# each of them well formed.
whole_user_file() {
    cmp -s <(cut -d= -f1 "$1") <(cut -d= -f1 "$2") &&
        ! grep -Ev '^(\[[A-Za-z0-9]+\]|[A-Za-z0-9]+=[0-9]+(,[0-9]+){2,3}|[A-Za-z0-9]+=[^,]*|)$' "$1" >/dev/null
}
# Killed with SIGKILL while it saves the working profile file (Apply) and a
# user data file (a painted key), at a few moments: each file is whole, the
# old version or the new one.
journey_killed() {
    local delay p c profile=$data/\$Profile0 colours=$data/UserDengColor_0.userd
    # The keyboard is set to the mode that paints keys, and the lighting
    # switched off again so that a click on a key opens its dialog.
    start_orvane
    click_main CONTROL_DengStaPic
    choose_mode End
    click_main CONTROL_DengStaPic
    exit_from_tray
    local key=(KEY_010 KEY_011 KEY_012 KEY_013) i=0
    for delay in 0 0.2; do
        # The last run may have been killed with the switch on.
        sed -i 's/^DengCheck=1/DengCheck=0/' "$data/zaru.ini"
        start_orvane
        wait_idle
        [ -f "$profile" ] || fail "no working profile file after the start"
        cp "$profile" "$home/old-profile"
        cp "$colours" "$home/old-colours"
        remap_a
        # Switching the lighting on asks to apply first: Yes saves the working
        # profile file; the painted key saves the user data file.
        opens CONTROL_DengStaPic question >/dev/null
        chord alt+y
        paint "${key[i++]}"
        sleep "$delay"
        kill -KILL "$orvane"
        wait "$orvane" 2>/dev/null || true
        cmp -s "$profile" "$home/old-profile" || {
            "$bin/orvanectl" validate "$profile" | grep -qx valid || fail "killed after $delay s: the working profile file is damaged"
            key_in_profile "$profile" 30 "$typed_scan" || fail "killed after $delay s: the working profile file is neither old nor new"
        }
        whole_user_file "$colours" "$home/old-colours" || fail "killed after $delay s: the user data file is damaged"
        cmp -s "$profile" "$home/old-profile" && p=old || p=new
        cmp -s "$colours" "$home/old-colours" && c=old || c=new
        echo "killed after $delay s: working profile file $p, user data file $c"
    done
}

declare -F "journey_$journey" >/dev/null || fail "no journey '$journey'"
start_x
"journey_$journey"
echo "PASS"
