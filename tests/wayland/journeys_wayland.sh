#!/usr/bin/env bash
# What a keyboard owner does with the real program on a Wayland desktop:
# headless sway with waybar's tray, the program on Qt's wayland platform,
# real pointer and key events from the project's input client. Each
# journey ends by looking at the keyboard's memory and the files on disk;
# pictures of its steps go to the test's folder (wayland-JOURNEY).
# Usage: journeys_wayland.sh BIN_DIR WLINPUT JOURNEY
set -euo pipefail
bin=$(cd "${1:?usage: $0 BIN_DIR WLINPUT JOURNEY}" && pwd)
wlinput=${2:?usage: $0 BIN_DIR WLINPUT JOURNEY}
journey=${3:?usage: $0 BIN_DIR WLINPUT JOURNEY}
shots=${shots:-$PWD/wayland-$journey}
mkdir -p "$shots"
# shellcheck source-path=SCRIPTDIR source=wl_session.sh
source "$(dirname "$0")/wl_session.sh"
# shellcheck source-path=SCRIPTDIR source=../e2e/journey_steps.sh
source "$(dirname "$0")/../e2e/journey_steps.sh"

# Looks of the Apply button with the pointer away from it, to tell enabled
# from disabled.
apply_look() {
    local x y w h wx wy _
    read -r x y w h < <(rect "$skin" CONTROL2_APPLY)
    read -r wx wy _ < <(geometry "$(main_window)")
    pointer_away
    sleep 0.2
    shot - $((wx + x)) $((wy + y)) "$w" "$h" | md5sum
}
# The keyboard's profile 0 sends D (HID 07) where A (HID 04) sat, after Q (14).
keyboard_has_a_as_d() { ctl read-matrix 0 | grep -q '02 02 14 02 02 07 '; }

# The window, its tray icon, and Exit from the tray menu.
journey_smoke() {
    start_orvane
    wait_tray_icon
    save_shot window
    save_shot tray 0 $((wl_height - bar_height)) 120 "$bar_height"
    exit_from_tray
}

# A's key dialog by a click, D typed, OK, Apply: the keyboard sends D for A
# (a key typed arrives as that key, not as whatever another keymap says).
journey_remap() {
    start_orvane
    disabled=$(apply_look)
    local dialog
    dialog=$(open_key_dialog KEY_01E)
    save_shot key-dialog
    key d
    click_dialog "$dialog" CONTROL_OK
    until_true gone "$dialog" || fail "OK did not close the key dialog"
    [ "$(apply_look)" != "$disabled" ] || fail "a remap left Apply disabled"
    apply_and_wait
    exit_from_tray
    keyboard_has_a_as_d || fail "the keyboard does not send D for A: $(ctl read-matrix 0 | head -n 3)"
    key_in_profile "$data/\$Profile0" 30 32 || fail "the working profile file lacks A's new key"
}

# keys N KEY...: presses each KEY N times.
keys() {
    local n=$1 k cmds=()
    shift
    for k in "$@"; do for _ in $(seq "$n"); do cmds+=("key $k"); done; done
    input "${cmds[@]}"
}
# No mouse at all, as on X11: Tab to the picture, the arrows to A, Space
# opens its dialog, D, Tab to OK and Space, Tab to Apply and Space.
journey_keyboard() {
    start_orvane
    disabled=$(apply_look)
    until_true focused "$(main_window)" || fail "the main window never took the focus"
    keys 14 Tab
    keys 1 Right Down Down Down Right # G1, Esc, `, Tab, Caps Lock, A
    local before dialog
    before=$(other_windows)
    key space
    dialog=$(new_window "$before") || fail "Space on the picture opened no key dialog"
    key d
    keys 3 Tab
    key space
    until_true gone "$dialog" || fail "Space on OK did not close the key dialog"
    before=$(sent)
    keys 9 Tab
    key space
    until_true sent_since "$before" 08 || fail "Space on Apply sent no key matrix"
    until_true apply_disabled || fail "Apply stayed enabled after applying"
    exit_from_tray
    keyboard_has_a_as_d || fail "the keyboard does not send D for A"
}

# A's dialog, macro tab: a macro recorded from X and Y, repeated three
# times, OK and Apply; the keyboard holds the macro and A plays it.
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
    # The delays are what the compositor's clock says between the keys.
    check_macro_x_y any
}

# The keyboard pulled a few requests into Apply and plugged back 2 s later:
# the window hides, the keyboard is read again, Open from the tray shows
# the window with the remap still to apply.
journey_pulled() {
    start_orvane
    wait_idle
    local startup
    startup=$(sent)
    exit_from_tray
    rm -f "$home/trace" "$home/state"

    start_orvane --sim-fault "unplug:$((startup + 6)):2000"
    wait_idle
    disabled=$(apply_look)
    local dialog
    dialog=$(open_key_dialog KEY_01E)
    key d
    click_dialog "$dialog" CONTROL_OK
    until_true gone "$dialog" || fail "OK did not close the key dialog"
    click_main CONTROL2_APPLY
    until_true window_hidden || fail "the window stayed shown with the keyboard pulled"
    local profile=$data/\$Profile0
    until_true sent_more_than $((startup + 26)) || fail "the keyboard plugged back was not read again"
    wait_idle
    "$bin/orvanectl" validate "$profile" | grep -qx valid || fail "the working profile file was damaged"
    tray_menu 0 # Open
    until_true main_window_shown || fail "Open from the tray showed no window"
    settle
    save_shot reopened
    [ "$(apply_look)" != "$disabled" ] || fail "Apply was not lit after the replug"
    apply_and_wait
    exit_from_tray
    keyboard_has_a_as_d || fail "the keyboard does not send D for A"
}

# near A B TOLERANCE: A and B differ by at most TOLERANCE.
near() { [ $(($1 - $2)) -ge "-$3" ] && [ $(($1 - $2)) -le "$3" ]; }
# The key dialog beside its key where the compositor lets the program place
# it; where it cannot, centred over the main window, never over the screen.
# The main window is moved off the screen's centre first so the two differ.
journey_placement() {
    start_orvane
    swaymsg "[pid=$orvane title=\"^Orvane Keyboard Settings\$\"] move position 40 30" >/dev/null ||
        fail "sway could not move the main window"
    settle
    local mx my mw mh kx ky kw kh dialog dx dy dw dh
    read -r mx my mw mh < <(geometry "$(main_window)")
    [ "$mx,$my" = 40,30 ] || fail "the main window is at $mx,$my, not where it was moved"
    read -r kx ky kw kh < <(rect "$skin" KEY_01E)
    kx=$((mx + kx)) ky=$((my + ky))
    dialog=$(open_key_dialog KEY_01E)
    read -r dx dy dw dh < <(geometry "$dialog")
    save_shot key-dialog-placed
    echo "key at $kx,$ky ${kw}x$kh; dialog at $dx,$dy ${dw}x$dh; main window at $mx,$my ${mw}x$mh"
    # Beside: the dialog's nearest edge within a key's size of the key.
    if ! { [ $((dx - kx - kw)) -le "$kw" ] && [ $((kx - dx - dw)) -le "$kw" ] &&
        [ $((dy - ky - kh)) -le "$kh" ] && [ $((ky - dy - dh)) -le "$kh" ]; }; then
        { near $((dx + dw / 2)) $((mx + mw / 2)) 2 && near $((dy + dh / 2)) $((my + mh / 2)) 2; } ||
            fail "the key dialog is neither beside its key nor centred over the main window"
    fi
    click_dialog "$dialog" CONTROL_CANCEL
    until_true gone "$dialog" || fail "Cancel did not close the key dialog"
    exit_from_tray
}

# Mode 20: the painted keys reach the keyboard and its memory.
journey_paint() {
    start_orvane
    paint_two_colours
    save_shot painted
    exit_from_tray
    check_held_colours
}

# Export through the menu's file dialog, Default (asked and confirmed),
# then import: the keyboard sends D for A again.
journey_files() {
    start_orvane
    disabled=$(apply_look)
    local dialog before export=$home/mine.fwc
    dialog=$(open_key_dialog KEY_01E)
    key d
    click_dialog "$dialog" CONTROL_OK
    until_true gone "$dialog" || fail "OK did not close the key dialog"
    apply_and_wait
    before=$(other_windows)
    menu_item 1 # Save profile to file...
    file_dialog "$before" "$export"
    until_true test -s "$export" || fail "the export wrote no file"
    "$bin/orvanectl" validate "$export" | grep -qx valid || fail "the export is not a valid profile file"

    wait_idle
    local n question
    n=$(sent)
    before=$(other_windows)
    click_main FUNC_DEFAULT
    question=$(new_window "$before") || fail "Default asked nothing"
    save_shot question
    chord alt+y
    until_true gone "$question" || fail "the question stayed open"
    until_true sent_since "$n" 08 || fail "Default sent no key matrix"
    wait_idle
    ! keyboard_has_a_as_d || fail "Default left A sending D"

    n=$(sent)
    before=$(other_windows)
    menu_item 0 # Restore profile from file...
    file_dialog "$before" "$export"
    until_true sent_since "$n" 08 || fail "the import sent no key matrix"
    wait_idle
    exit_from_tray
    keyboard_has_a_as_d || fail "the import did not bring back D for A"
}

preview_moving() { ! area_steady; }
# In the first lighting mode, which moves, each lit key is drawn whole: no
# pixel inside a key shows the desktop behind the translucent window.
journey_preview() {
    start_orvane
    click_main CONTROL_DengStaPic
    pointer_away
    local x y w h desktop kx ky kw kh key
    read -r x y w h < <(geometry "$(main_window)")
    popup_area=("$x" "$y" "$w" $((h / 2)))
    until_true preview_moving || fail "switching the lighting on set no moving preview"
    save_shot moving
    desktop=$(shot - 5 5 1 1 | tail -c 3 | od -An -tu1)
    for key in KEY_01E KEY_010 KEY_039; do # A, Q, Space
        read -r kx ky kw kh < <(rect "$skin" "$key")
        shot "$home/key.ppm" $((x + kx + 6)) $((y + ky + 6)) $((kw - 12)) $((kh - 12))
        # shellcheck disable=SC2086 # the colour's three numbers
        [ "$(picture other "$home/key.ppm" $desktop)" = $(((kw - 12) * (kh - 12))) ] ||
            fail "the desktop shows through $key of the moving preview"
    done
    exit_from_tray
}

start_wayland
case $journey in
smoke | remap | keyboard | macro | pulled | placement | paint | files | preview) "journey_$journey" ;;
*) fail "no journey '$journey'" ;;
esac
echo "PASS"
