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
# A is given D (HID 07): a key typed arrives as that key, not as whatever
# another keymap says.
typed_key=d typed_hid=07 typed_scan=32
# The delays are what the compositor's clock says between the keys.
macro_delays=any

# The window, its tray icon, and Exit from the tray menu.
journey_smoke() {
    start_orvane
    wait_tray_icon
    save_shot window
    save_shot tray 0 $((wl_height - bar_height)) 120 "$bar_height"
    exit_from_tray
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
    local export=$home/mine.fwc
    remap_a
    apply_and_wait
    export_to "$export"

    wait_idle
    local n question
    n=$(sent)
    question=$(opens FUNC_DEFAULT question)
    save_shot question
    chord alt+y
    until_true gone "$question" || fail "the question stayed open"
    until_true sent_since "$n" 08 || fail "Default sent no key matrix"
    wait_idle
    ! keyboard_has_typed || fail "Default left A sending D"

    n=$(sent)
    menu_file 0 "$export" # Restore profile from file...
    until_true sent_since "$n" 08 || fail "the import sent no key matrix"
    wait_idle
    exit_from_tray
    keyboard_has_typed || fail "the import did not bring back D for A"
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

declare -F "journey_$journey" >/dev/null || fail "no journey '$journey'"
start_wayland
"journey_$journey"
echo "PASS"
