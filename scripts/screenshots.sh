#!/usr/bin/env bash
# Pictures of the real program for the README, taken on a private X display
# against the simulated keyboard. Usage: screenshots.sh BIN_DIR OUT_DIR
set -euo pipefail
bin=$(cd "${1:?usage: $0 BIN_DIR OUT_DIR}" && pwd)
out=${2:?usage: $0 BIN_DIR OUT_DIR}
mkdir -p "$out"
out=$(cd "$out" && pwd)
# shellcheck source-path=SCRIPTDIR source=../tests/e2e/x_session.sh
source "$(dirname "$0")/../tests/e2e/x_session.sh"

# shot NAME [WINDOW]: the window (the main window unless given), or the
# whole desktop above the tray when WINDOW is "screen".
shot() {
    local w=${2:-$(main_window)}
    [ -n "${still:-}" ] || xdotool mousemove 1270 5
    sleep 0.5
    if [ "$w" = screen ]; then
        scrot -o -a 0,0,1280,860 "$out/$1.png"
    else
        eval "$(xdotool getwindowgeometry --shell "$w")"
        scrot -o -a "$X,$Y,$WIDTH,$HEIGHT" "$out/$1.png"
    fi
    echo "$out/$1.png"
}
# choose_mode KEYS...: opens the mode list and picks an entry with the keys.
choose_mode() {
    local before
    before=$(other_windows)
    click_main CONTROL_XGcombox
    new_window "$before" >/dev/null || fail "the mode list opened no popup"
    xdotool key "$@" Return
    sleep 0.3
}

# paint KEY: a click on a key of the picture, with the button released where
# it was pressed.
paint() {
    # shellcheck disable=SC2046
    set -- $(centre "$skin" "$1")
    xdotool mousemove --window "$(main_window)" "$1" "$2" mousedown 1
    sleep 0.1
    xdotool mouseup 1
    sleep 0.2
}

start_x
start_orvane
click_main CONTROL_DengStaPic # lighting on
choose_mode Home Down Down
shot main-window

choose_mode End # the last mode: each key its own colour
click_main CONTROL_Color1
for k in KEY_011 KEY_01E KEY_01F KEY_020; do paint "$k"; done
click_main CONTROL_Color6
for k in KEY_03B KEY_03C KEY_03D KEY_03E; do paint "$k"; done
# A move of the pointer right after painting would drag the window (a fault
# of the picture's mouse handling): this picture is taken where it stands.
still=1 shot mode20-painted
xdotool mousemove --window "$(main_window)" 1012 40 click 1
sleep 0.3

# The key dialog opens beside the key that was clicked.
click_main CONTROL_DengStaPic # lighting off: a click on a key opens its dialog
dialog=$(open_key_dialog KEY_01E)
shot key-dialog screen
click_dialog "$dialog" CONTROL_MACRO
shot macro-tab screen
click_dialog "$dialog" CONTROL_CANCEL
until_true gone "$dialog" || fail "the key dialog did not close"

before=$(other_windows)
click_main FUNC_PROFILES
new_window "$before" >/dev/null || fail "no profile manager"
shot profile-manager screen
