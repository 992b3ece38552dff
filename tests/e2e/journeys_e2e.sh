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
# The keyboard's profile 0 sends B (HID 05) where A (HID 04) sat, after Q (14).
keyboard_has_a_as_b() { ctl read-matrix 0 | grep -q '02 02 14 02 02 05 '; }
# a_is_b WHEN: the keyboard and the working profile file both have B on A.
a_is_b() {
    keyboard_has_a_as_b || fail "$1: the keyboard does not send B for A"
    key_in_profile "$data/\$Profile0" 30 48 || fail "$1: the working profile file lacks A's new key"
}

journey_remap() {
    start_orvane
    disabled=$(apply_look)
    remap_a_to_b
    [ "$(apply_look)" != "$disabled" ] || fail "a remap left Apply disabled"
    apply_and_wait
    exit_from_tray
    a_is_b "after Exit"

    # Started again, the key is still remapped on both sides.
    start_orvane
    a_is_b "at the restart"
    [ "$(apply_look)" = "$disabled" ] || fail "Apply is enabled right after the start"
    local dialog
    dialog=$(open_key_dialog KEY_01E)
    click_dialog "$dialog" CONTROL_CANCEL
    until_true gone "$dialog" || fail "Cancel did not close the key dialog"
}

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

# remap_a_to_b: A's dialog, B pressed, OK.
remap_a_to_b() {
    local dialog
    dialog=$(open_key_dialog KEY_01E)
    xdotool key b
    click_dialog "$dialog" CONTROL_OK
    until_true gone "$dialog" || fail "OK did not close the key dialog"
}

journey_pulled() {
    # A first start tells how many requests the connection takes.
    count_startup
    # The keyboard is pulled a few requests into Apply and plugged back 2 s later.
    start_orvane --sim-fault "unplug:$((startup + 6)):2000"
    wait_idle
    [ "$(sent)" = "$startup" ] || fail "this start sent $(sent) requests, the first $startup"
    disabled=$(apply_look)
    remap_a_to_b
    click_main CONTROL2_APPLY
    until_true window_hidden || fail "the window stayed shown with the keyboard pulled"
    local profile=$data/\$Profile0
    "$bin/orvanectl" validate "$profile" | grep -qx valid || fail "the working profile file was damaged"
    # Plugged back, the connection reads the keyboard again. Nothing goes
    # out between the pull (Apply's sixth request) and then, however slowly
    # the window hid.
    local pulled=$((startup + 6))
    until_true sent_more_than $((pulled + 20)) || fail "the keyboard plugged back was not read again"
    wait_idle
    "$bin/orvanectl" validate "$profile" | grep -qx valid || fail "the working profile file was damaged"
    "$bin/orvanectl" validate "$profile.keyboard.fwc" | grep -qx valid ||
        fail "what the keyboard held at the replug was not kept beside the working profile file"
    tray_menu 0 # Open
    until_true main_window_shown || fail "Open from the tray showed no window"
    settle
    # The remap the keyboard never took is still there to apply, not made again.
    [ "$(apply_look)" != "$disabled" ] || fail "Apply was not lit after the replug"
    apply_and_wait
    exit_from_tray
    a_is_b "after the replug"
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
    remap_a_to_b
    apply_and_wait
    local before export=$home/mine.fwc
    before=$(other_windows)
    menu_item 1 # Save profile to file...
    file_dialog "$before" "$export"
    until_true test -s "$export" || fail "the export wrote no file"
    "$bin/orvanectl" validate "$export" | grep -qx valid || fail "the export is not a valid profile file"
    exit_from_tray
    local saved
    saved=$(keyboard_image)

    start_orvane
    wait_idle
    local n question
    n=$(sent)
    question=$(opens FUNC_DEFAULT question)
    xdotool key alt+y
    until_true gone "$question" || fail "the question stayed open"
    until_true sent_since "$n" 08 || fail "Default sent no key matrix"
    wait_idle
    exit_from_tray
    ! keyboard_has_a_as_b || fail "Default left A sending B"
    [ "$(keyboard_image)" != "$saved" ] || fail "Default changed nothing"
    # Default keeps the macros; wiped here, only the import can bring them back.
    ctl write-macros 00000000000000000000000000000000 >/dev/null || fail "the macro memory could not be wiped"

    start_orvane
    wait_idle
    before=$(other_windows)
    menu_item 0 # Restore profile from file...
    file_dialog "$before" "$export"
    n=$(sent)
    until_true sent_since "$n" 08 || true
    wait_idle
    exit_from_tray
    [ "$(keyboard_image)" = "$saved" ] || fail "the keyboard differs from what was exported"
}

# A's dialog, macro tab: a new macro recorded from X and Y pressed, repeated
# three times, OK and Apply; the keyboard holds the macro and A plays it.
journey_macro() {
    start_orvane
    disabled=$(apply_look)
    local dialog
    dialog=$(open_key_dialog KEY_01E)
    click_dialog "$dialog" CONTROL_MACRO
    click_dialog "$dialog" FUNC_MACRO_ADD
    click_dialog "$dialog" FUNC_MACRO_RECORD
    xdotool key x y
    click_dialog "$dialog" FUNC_MACRO_RECORD
    click_dialog "$dialog" FUNC_MACRO_CYCLES
    xdotool key ctrl+a
    xdotool type 3
    click_dialog "$dialog" CONTROL_OK
    until_true gone "$dialog" || fail "OK did not close the key dialog"
    apply_and_wait
    exit_from_tray
    check_macro_x_y "50 50 50 0"
}

# keys N KEY...: presses each KEY N times, as a person would, one at a time.
keys() {
    local n=$1 k
    shift
    for k in "$@"; do
        for _ in $(seq "$n"); do
            xdotool key "$k"
            sleep 0.1
        done
    done
}
# No mouse at all: Tab to the picture, the arrows to A, Space opens its
# dialog, B is pressed, Tab to OK and Space, Tab to Apply and Space.
journey_keyboard() {
    start_orvane
    disabled=$(apply_look)
    until_true focused "$(main_window)" || fail "the main window never took the focus"
    # The window opens with OK focused; the picture is the fourteenth stop
    # after it, entered at its top-left key, G1.
    keys 14 Tab
    keys 1 Right Down Down Down Right # G1, Esc, `, Tab, Caps Lock, A
    local before dialog
    before=$(other_windows)
    xdotool key space
    dialog=$(new_window "$before") || fail "Space on the picture opened no key dialog"
    xdotool key b
    # The captured key moves the focus on to the Mouse box; Tab then goes
    # on as the dialog reads, past the mouse list (off) to the disable box,
    # Clear and OK.
    keys 3 Tab
    xdotool key space
    until_true gone "$dialog" || fail "Space on OK did not close the key dialog"
    # From A on: the lighting switch, four report rates, Macro, OK, Cancel,
    # Apply.
    before=$(sent)
    keys 9 Tab
    xdotool key space
    until_true sent_since "$before" 08 || fail "Space on Apply sent no key matrix"
    until_true apply_disabled || fail "Apply stayed enabled after applying"
    # The simulated keyboard keeps its memory in its state file at the end.
    exit_from_tray
    a_is_b "with the keys alone"
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
        remap_a_to_b
        # Switching the lighting on asks to apply first: Yes saves the working
        # profile file; the painted key saves the user data file.
        opens CONTROL_DengStaPic question >/dev/null
        xdotool key alt+y
        paint "${key[i++]}"
        sleep "$delay"
        kill -KILL "$orvane"
        wait "$orvane" 2>/dev/null || true
        cmp -s "$profile" "$home/old-profile" || {
            "$bin/orvanectl" validate "$profile" | grep -qx valid || fail "killed after $delay s: the working profile file is damaged"
            key_in_profile "$profile" 30 48 || fail "killed after $delay s: the working profile file is neither old nor new"
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
