#!/usr/bin/env bash
# Profiles with real clicks on the real program against the simulated
# keyboard, on an X display of its own with a window manager: the flip
# buttons swap the F1-F4 group and turn the arrows; profile button 3
# switches the keyboard to profile 2, renamed in the profile manager, and
# takes the checked look, the profiles button its new name; the backup
# menu exports a file orvanectl accepts; a damaged file imported through the
# menu is refused with its messages and changes nothing.
# Usage: profiles_e2e.sh BIN_DIR [SHOTS_DIR]
set -euo pipefail
bin=$(cd "${1:?usage: $0 BIN_DIR [SHOTS_DIR]}" && pwd)
shots=${2:-}
# shellcheck source-path=SCRIPTDIR source=x_session.sh
source "$(dirname "$0")/x_session.sh"

# The same pixels are written as the same bytes.
differs() { ! cmp -s "$1" "$2"; }
start_x
use_home one
# shellcheck disable=SC2119 # no extra options
start_orvane
wait_idle
pointer_away
for i in 1 2 3; do grab "FUNC_PROFILE$i" "$home/before$i.png"; done
save_shot start

# Flip swaps the six extra buttons into the F1-F4 place and turns the
# arrows; the other flip button swaps them back.
grab FLIP_0 "$home/frow.png"
grab LEFT_ARROW "$home/arrow.png"
click_main FLIP_1
pointer_away
grab FLIP_0 "$home/frow-flipped.png"
grab LEFT_ARROW "$home/arrow-flipped.png"
save_shot flipped
differs "$home/frow.png" "$home/frow-flipped.png" || fail "Flip left the F1-F4 place as it was"
differs "$home/arrow.png" "$home/arrow-flipped.png" || fail "Flip left the arrow as it was"
click_main FLIP_2
pointer_away
grab FLIP_0 "$home/frow-back.png"
differs "$home/frow.png" "$home/frow-back.png" && fail "flipping back did not bring F1-F4 back"

# Profile 3 renamed in the profile manager: a click chooses its row, a
# second one opens its name; OK keeps the name for the profiles button.
grab FUNC_PROFILES "$home/name-before.png"
manager=$(opens FUNC_PROFILES "profile manager")
settle "$manager"
name_cell=(142 164) # the name column of the third row
click "$manager" "${name_cell[@]}"
sleep 0.5
click "$manager" "${name_cell[@]}"
xdotool key ctrl+a
xdotool type --delay 30 "Racing"
xdotool key Return
save_shot renamed
click_in "$manager" "$profile_skin" CONTROL_OK
until_true gone "$manager" || fail "OK left the profile manager open"
until_true grep -q Racing "$XDG_CONFIG_HOME/orvane/registry" || fail "the new name was not stored"

click_main FUNC_PROFILE3
wait_idle
pointer_away
grab FUNC_PROFILES "$home/name-after.png"
differs "$home/name-before.png" "$home/name-after.png" || fail "the profiles button does not name profile 3"
for i in 1 2 3; do grab "FUNC_PROFILE$i" "$home/after$i.png"; done
save_shot profile3
differs "$home/before3.png" "$home/after3.png" || fail "button 3 did not take the checked look"
differs "$home/before1.png" "$home/after1.png" || fail "button 1 kept the checked look"
differs "$home/before2.png" "$home/after2.png" && fail "button 2 changed"

menu_file 1 "$home/backup.fwc"
pointer_away
until_true test -s "$home/backup.fwc" || fail "export wrote no file"
"$bin/orvanectl" validate "$home/backup.fwc" >/dev/null || fail "orvanectl rejects the exported file"

# A damaged copy: the same bytes with the middle cut out.
size=$(stat -c %s "$home/backup.fwc")
head -c $((size / 2)) "$home/backup.fwc" >"$home/damaged.fwc"
"$bin/orvanectl" validate "$home/damaged.fwc" >/dev/null 2>&1 && fail "the damaged file validates"
sums() { find "$XDG_DATA_HOME" -type f -print0 | sort -z | xargs -0 md5sum; }
files_before=$(sums)
sent_before=$(requests)
menu_file 0 "$home/damaged.fwc"
pointer_away
save_shot damaged-import
# One box that says why and that nothing was restored.
box=$(other_window) || true
[ -n "$box" ] || fail "no message for the damaged file"
xdotool key Return
until_true gone "$box" || fail "the message for the damaged file stayed open"
[ -z "$(other_window 5)" ] || fail "a second box after the damaged import"
[ "$(requests)" = "$sent_before" ] || fail "the damaged import sent something to the keyboard"
[ "$(sums)" = "$files_before" ] || fail "the damaged import changed the working files"

stop
ctl info | grep -qx "active_profile: 2" ||
    fail "the keyboard's active profile is not 2"

echo "PASS"
