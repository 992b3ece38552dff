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
window_hidden() { [ -z "$(main_window)" ]; }
sent_more_than() { [ "$(sent)" -gt "$1" ]; }
