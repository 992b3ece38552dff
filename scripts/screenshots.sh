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
    xdotool mousemove 1270 5
    sleep 0.5
    if [ "$w" = screen ]; then
        scrot -o -a 0,0,1280,860 "$out/$1.png"
    else
        eval "$(xdotool getwindowgeometry --shell "$w")"
        scrot -o -a "$X,$Y,$WIDTH,$HEIGHT" "$out/$1.png"
    fi
    echo "$out/$1.png"
}

# Profiles named the way a user would, stored where the program keeps its
# names, so the manager and the main window's profile button show them.
mkdir -p "$XDG_CONFIG_HOME/orvane"
cat >"$XDG_CONFIG_HOME/orvane/registry" <<'EOF'
; Orvane per-user settings

[Software\Orvane_Quenlo\Orvane\PROFILES]
"NAME1"="Desktop"
"NAME2"="Racing"
"NAME3"="Strategy"
EOF

start_x
start_orvane
click_main CONTROL_DengStaPic # lighting on
choose_mode Home Down Down
shot main-window

choose_mode End # the last mode: each key its own colour
choose_colour 0 1 # red
for k in KEY_03B KEY_03C KEY_03D KEY_03E; do paint "$k"; done
choose_colour 4 1 # green
for k in KEY_011 KEY_01E KEY_01F KEY_020; do paint "$k"; done
shot mode20-painted

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
manager=$(new_window "$before") || fail "no profile manager"
shot profile-manager screen
# shellcheck disable=SC2046
click "$manager" $(centre "$bin/Skins/Profile.ini" CONTROL_CANCEL)
until_true gone "$manager" || fail "the profile manager did not close"

# The plain Qt controls in the skin's look: the mode list open, then a
# question of the program.
click_main CONTROL_DengStaPic # lighting on: the panel shows the mode list
popup=$(open_mode_list)
shot drop-down-list screen
xdotool key Escape
until_true gone "$popup" || fail "the mode list stayed open"

before=$(other_windows)
click_main FUNC_DEFAULT
question=$(new_window "$before") || fail "Default asked nothing"
shot message-box screen
xdotool key alt+n
until_true gone "$question" || fail "the question stayed open"
