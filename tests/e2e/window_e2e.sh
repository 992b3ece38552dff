#!/usr/bin/env bash
# The main window as the window manager sees it: a dialog with alpha for a
# compositor to draw its rounded outline, the same window in the same place
# after a hide and an Open from the tray, and no GL library in a program
# that draws nothing with GL.
# Usage: window_e2e.sh BIN_DIR
set -euo pipefail
bin=$(cd "${1:?usage: $0 BIN_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR source=x_session.sh
source "$here/x_session.sh"

is_dialog() { xprop -id "$1" _NET_WM_WINDOW_TYPE | grep -q '_NET_WM_WINDOW_TYPE_DIALOG'; }
place() { window_place "$1" | tr -d "\n "; }
requests_since() { [ "$(requests)" -gt "$1" ]; }

start_x
start_orvane
w=$(main_window)
is_dialog "$w" || fail "the window's type is $(xprop -id "$w" _NET_WM_WINDOW_TYPE)"
window_info "$w" | grep -q 'Depth: 32' || fail "the window has no alpha channel: $(window_info "$w" | grep Depth)"
"$here/no_gl_loaded.sh" "$orvane" || fail "GL libraries were loaded"

xdotool windowmove "$w" 23 17
settle "$w"
before=$(place "$w")
click_main CONTROL_CANCEL
until_true window_hidden || fail "Cancel left the window shown"
tray_menu 0 # Open
until_true main_window_shown || fail "Open from the tray showed no window"
settle
[ "$(main_window)" = "$w" ] || fail "the window was made anew: $w became $(main_window)"
is_dialog "$w" || fail "shown again, the window's type is $(xprop -id "$w" _NET_WM_WINDOW_TYPE)"
[ "$(place "$w")" = "$before" ] || fail "the window moved from $before to $(place "$w")"
# A click goes where it lands: the lighting switch writes to the keyboard
# and opens no key dialog.
before=$(requests)
click_main CONTROL_DengStaPic
until_true requests_since "$before" || fail "the click on the lighting switch wrote nothing"
[ -z "$(other_windows)" ] || fail "the click on the lighting switch opened a window"
"$here/no_gl_loaded.sh" "$orvane" || fail "GL libraries were loaded"
exit_from_tray
