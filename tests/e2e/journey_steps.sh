# Steps of the journeys shared by every desktop they run on (sourced after
# the desktop's session script, which supplies the clicks, the keys, the
# windows and apply_look).
# shellcheck shell=bash disable=SC2154

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
# sent_colour LED: the last colour the keyboard was sent for LED, "rr gg bb".
sent_colour() {
    grep "^> 04 .. .. 11 03 $(printf '%02x %02x' $(($1 * 3 & 255)) $(($1 * 3 >> 8))) " "$home/trace" |
        tail -n1 | cut -d' ' -f10-12
}
colour_sent() { [ -n "$(sent_colour "$1")" ]; }
# held_colour LED: profile 0's colour for LED in the keyboard's own memory, as
# its state file keeps it once the program has ended, "rr gg bb". The file
# holds a header of 9 bytes, the device info (44), the lighting (126), the
# three key matrices, then the key colours, 512 bytes a profile.
held_colour() {
    local keys matrix
    keys=$(od -An -tu1 -j 8 -N1 "$home/state" | tr -d ' ')
    matrix=$([ "$keys" = 126 ] && echo 378 || echo 512)
    od -An -tx1 -v -j $((9 + 44 + 126 + 3 * matrix + $1 * 3)) -N3 "$home/state" | xargs
}
# stored_colour FILE LED: colour set 0's entry for LED in a user data file, "rr gg bb flag".
stored_colour() {
    awk -F'[=,]' -v led="$2" '/^\[/ { s = $0 } s == "[Mode0]" && $1 == led { printf "%02x %02x %02x %s\n", $2, $3, $4, $5 }' "$1"
}
# Once the program has ended, the keyboard keeps what it was sent for Q, A,
# W and S.
check_held_colours() {
    local led
    for led in 43 64 44 65; do
        [ "$(held_colour $led)" = "$(sent_colour $led)" ] ||
            fail "the keyboard holds LED $led as '$(held_colour $led)', sent '$(sent_colour $led)'"
    done
}
# The keyboard and the user data file of profile 0 hold Q and A in one
# colour and W and S in another.
check_painted() {
    local q a w s file=$data/UserDengColor_0.userd
    q=$(sent_colour 43) a=$(sent_colour 64) w=$(sent_colour 44) s=$(sent_colour 65)
    [[ -n $q && $q == "$a" ]] || fail "$1: Q and A were sent '$q' and '$a'"
    [[ -n $w && $w == "$s" ]] || fail "$1: W and S were sent '$w' and '$s'"
    [ "$q" != "$w" ] || fail "$1: both colours were sent as $q"
    [ "$(stored_colour "$file" 43 | cut -d" " -f1-3)" = "$q" ] || fail "$1: the user data file holds Q as $(stored_colour "$file" 43)"
    [ "$(stored_colour "$file" 65 | cut -d" " -f1-3)" = "$w" ] || fail "$1: the user data file holds S as $(stored_colour "$file" 65)"
}
# Mode 20 paints single keys: Q and A in red, W and S in green, from the
# Colour button's palette.
paint_two_colours() {
    click_main CONTROL_DengStaPic # lighting on
    choose_mode End               # the last mode paints single keys
    until_true grep -q '^> 04 .. .. 06 01 00 00 00 14' "$home/trace" || fail "mode 20 was not sent"
    choose_colour 0 1 # red
    paint KEY_010     # Q
    paint KEY_01E     # A
    choose_colour 4 1 # green
    paint KEY_011     # W
    paint KEY_01F     # S
    until_true colour_sent 65 || fail "S was not sent"
    check_painted "painted"
}
# check_macro_x_y DELAYS: the keyboard's macro memory holds one macro, X
# down and up then Y, repeated three times, with these four delays ("any":
# whatever they are), and A plays it.
check_macro_x_y() {
    ctl read-macros 256 | sed -n 's/^data: //p' | xxd -r -p >"$home/macros.bin"
    "$bin/orvanectl" decode-macros "@$home/macros.bin" >"$home/macros.txt" || fail "the keyboard's macro memory does not decode"
    local d=(N N N N) want
    if [ "$1" = any ]; then
        sed -i 's/delay [0-9]* /delay N /' "$home/macros.txt"
    else
        read -r -a d <<<"$1"
    fi
    want=$(printf '%s\n' "macro 0 id 1 repeat 3 name Macro 1 actions 4" "  delay ${d[0]} scan 02D dir 0" \
        "  delay ${d[1]} scan 02D dir 1" "  delay ${d[2]} scan 015 dir 0" "  delay ${d[3]} scan 015 dir 1")
    [ "$(cat "$home/macros.txt")" = "$want" ] || fail "the keyboard holds the macros: $(cat "$home/macros.txt")"
    # A plays the macro at position 0 of the keyboard's list.
    ctl read-matrix 0 | grep -q '02 02 14 05 01 00 ' || fail "A does not play the macro"
}
sent_more_than() { [ "$(sent)" -gt "$1" ]; }
# keys N KEY...: presses each KEY N times, as a person would, one at a time.
keys() {
    local n=$1 k
    shift
    for k in "$@"; do
        for _ in $(seq "$n"); do
            key "$k"
            sleep 0.1
        done
    done
}

# The desktop's script names the key each journey types for A: $typed_key,
# its HID usage $typed_hid and its scan code $typed_scan.
# The keyboard's profile 0 sends the typed key where A (HID 04) sat, after Q (14).
keyboard_has_typed() { ctl read-matrix 0 | grep -q "02 02 14 02 02 $typed_hid "; }
# a_is_typed WHEN: the keyboard and the working profile file both have the typed key on A.
a_is_typed() {
    keyboard_has_typed || fail "$1: the keyboard does not send $typed_key for A: $(ctl read-matrix 0 | head -n 3)"
    key_in_profile "$data/\$Profile0" 30 "$typed_scan" || fail "$1: the working profile file lacks A's new key"
}
# remap_a: A's dialog, the typed key pressed, OK.
remap_a() {
    local dialog
    dialog=$(open_key_dialog KEY_01E)
    save_shot key-dialog
    key "$typed_key"
    click_dialog "$dialog" CONTROL_OK
    until_true gone "$dialog" || fail "OK did not close the key dialog"
}
# export_to FILE: Save profile to file... from the menu, into FILE, a valid profile file.
export_to() {
    menu_file 1 "$1"
    until_true test -s "$1" || fail "the export wrote no file"
    "$bin/orvanectl" validate "$1" | grep -qx valid || fail "the export is not a valid profile file"
}

# A's key dialog by a click, the typed key, OK, Apply: the keyboard sends
# it for A, and still does after a restart.
journey_remap() {
    start_orvane
    disabled=$(apply_look)
    remap_a
    [ "$(apply_look)" != "$disabled" ] || fail "a remap left Apply disabled"
    apply_and_wait
    exit_from_tray
    a_is_typed "after Exit"

    # Started again, the key is still remapped on both sides.
    start_orvane
    a_is_typed "at the restart"
    [ "$(apply_look)" = "$disabled" ] || fail "Apply is enabled right after the start"
    local dialog
    dialog=$(open_key_dialog KEY_01E)
    click_dialog "$dialog" CONTROL_CANCEL
    until_true gone "$dialog" || fail "Cancel did not close the key dialog"
}

# The keyboard pulled a few requests into Apply and plugged back 2 s later:
# the window hides, the keyboard is read again, Open from the tray shows
# the window with the remap still to apply.
journey_pulled() {
    # A first start tells how many requests the connection takes.
    count_startup
    start_orvane --sim-fault "unplug:$((startup + 6)):2000"
    wait_idle
    [ "$(sent)" = "$startup" ] || fail "this start sent $(sent) requests, the first $startup"
    disabled=$(apply_look)
    remap_a
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
    save_shot reopened
    # The remap the keyboard never took is still there to apply, not made again.
    [ "$(apply_look)" != "$disabled" ] || fail "Apply was not lit after the replug"
    apply_and_wait
    exit_from_tray
    a_is_typed "after the replug"
}

# A's dialog, macro tab: a new macro recorded from X and Y pressed, repeated
# three times, OK and Apply; the keyboard holds the macro and A plays it
# with the delays $macro_delays (see check_macro_x_y).
journey_macro() {
    start_orvane
    disabled=$(apply_look)
    local dialog
    dialog=$(open_key_dialog KEY_01E)
    click_dialog "$dialog" CONTROL_MACRO
    click_dialog "$dialog" FUNC_MACRO_ADD
    click_dialog "$dialog" FUNC_MACRO_RECORD
    keys 1 x y
    click_dialog "$dialog" FUNC_MACRO_RECORD
    click_dialog "$dialog" FUNC_MACRO_CYCLES
    chord ctrl+a
    type_text 3
    save_shot macro
    click_dialog "$dialog" CONTROL_OK
    until_true gone "$dialog" || fail "OK did not close the key dialog"
    apply_and_wait
    exit_from_tray
    check_macro_x_y "$macro_delays"
}

# No mouse at all: Tab to the picture, the arrows to A, Space opens its
# dialog, the typed key is pressed, Tab to OK and Space, Tab to Apply and
# Space.
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
    key space
    dialog=$(new_window "$before") || fail "Space on the picture opened no key dialog"
    key "$typed_key"
    # The captured key moves the focus on to the Mouse box; Tab then goes
    # on as the dialog reads, past the mouse list (off) to the disable box,
    # Clear and OK.
    keys 3 Tab
    key space
    until_true gone "$dialog" || fail "Space on OK did not close the key dialog"
    # From A on: the lighting switch, four report rates, Macro, OK, Cancel,
    # Apply.
    before=$(sent)
    keys 9 Tab
    key space
    until_true sent_since "$before" 08 || fail "Space on Apply sent no key matrix"
    until_true apply_disabled || fail "Apply stayed enabled after applying"
    # The simulated keyboard keeps its memory in its state file at the end.
    exit_from_tray
    a_is_typed "with the keys alone"
}
