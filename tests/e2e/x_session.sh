# Shared by the whole-program scripts (sourced, not run): a private X
# display with a window manager and a tray host, a clean per-user home, the
# real program against the simulated keyboard, and the clicks and waits that
# drive it. Needs $bin (the folder holding orvane and orvanectl); $shots, when
# set, is a folder for screenshots, the one at a failure included; $x_width
# and $x_height, when set, the screen's size.
# shellcheck shell=bash disable=SC2034,SC2154,SC2119,SC2120

home=$(mktemp -d)
pids=()
x_cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$home"
}
trap x_cleanup EXIT
shots=${shots:-}
E2E_FAILURE_SHOT=${E2E_FAILURE_SHOT:-${shots:+$shots/failure.png}}
fail() {
    echo "FAIL: $*" >&2
    # Where the screen was at the failure, when asked for.
    [ -n "${E2E_FAILURE_SHOT:-}" ] && [ -n "${DISPLAY:-}" ] && scrot -o "$E2E_FAILURE_SHOT" 2>/dev/null
    [ -f "$home/out" ] && sed 's/^/  orvane: /' "$home/out" >&2
    exit 1
}
# save_shot NAME: the whole screen into $shots, when screenshots are asked for.
save_shot() { [ -z "$shots" ] || scrot -o "$shots/$1.png"; }

# use_home [NAME]: a clean per-user home (a fresh one for each NAME).
use_home() {
    local base=$home${1:+/$1}
    export XDG_DATA_HOME=$base/data XDG_CONFIG_HOME=$base/config XDG_STATE_HOME=$base/state \
        XDG_RUNTIME_DIR=$base/run
    mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    data=$XDG_DATA_HOME/Brislane
}
use_home
unset QT_QPA_PLATFORM
x_width=${x_width:-1280} x_height=${x_height:-900}
skin="$bin/Skins/Main.ini"
dialog_skin="$bin/Skins/Composite.ini"
profile_skin="$bin/Skins/Profile.ini"

# until CMD...: true once CMD succeeds, polling for up to 10 s.
# Under the thread sanitizer the program runs many times slower.
wait_limit=10
[ -n "${TSAN_OPTIONS:-}" ] && wait_limit=60
until_true() {
    local end=$((SECONDS + wait_limit))
    while [ "$SECONDS" -lt "$end" ]; do
        "$@" && return 0
        sleep 0.05
    done
    "$@"
}

start_x() {
    Xvfb -displayfd 3 -screen 0 "${x_width}x${x_height}x24" -nolisten tcp 3>"$home/display" >/dev/null 2>&1 &
    pids+=($!)
    until_true test -s "$home/display" || fail "Xvfb did not start"
    DISPLAY=:$(head -n1 "$home/display")
    export DISPLAY
    # The tray host docks only once the window manager is up. On a loaded
    # machine openbox now and then dies or stalls at start: it gets two more
    # chances, each started afresh.
    local attempt wm
    for attempt in 1 2 3; do
        openbox >>"$home/openbox.log" 2>&1 &
        wm=$!
        pids+=("$wm")
        until_true wm_up && break
        kill "$wm" 2>/dev/null || true
        [ "$attempt" = 3 ] && fail "openbox did not start: $(cat "$home/openbox.log")"
    done
    trayer --edge bottom --align left --widthtype pixel --width 120 --heighttype pixel --height 26 \
        >/dev/null 2>&1 &
    pids+=($!)
    until_true xdotool search --classname trayer >/dev/null || fail "no tray host"
}

wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# start_orvane [ARGS...]: the program against the paced simulated keyboard,
# its memory kept in $home/state and its wire trace in $home/trace; waits for
# the main window.
start_orvane() {
    "$bin/orvane" --simulate --sim-pace --trace "$home/trace" --sim-state "$home/state" "$@" \
        >>"$home/out" 2>&1 &
    orvane=$!
    pids+=("$orvane")
    until_true main_window_shown || fail "the main window did not show"
    settle
    # The connection's reads are done once the lighting records came back.
    until_true lighting_read || fail "the keyboard's lighting was never read"
}
lighting_read() { [ "$(grep -c '^> 04 .. .. 05 ' "$home/trace" 2>/dev/null)" -ge 3 ]; }
# The main window: the program's widest window of that title (its popups
# and its tray icon carry the same title).
main_window() {
    local w best="" most=600 WIDTH attempt
    for attempt in 1 2 3; do
        for w in $(xdotool search --onlyvisible --pid "$orvane" --name '^Orvane Keyboard Settings$' 2>/dev/null); do
            WIDTH=0
            eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)"
            [ "$WIDTH" -gt "$most" ] && most=$WIDTH best=$w
        done
        [ -n "$best" ] && break
        # A tooltip closing in the middle of the search ends it early.
        [ "$attempt" = 3 ] || sleep 0.1
    done
    echo "$best"
}
main_window_shown() { [ -n "$(main_window)" ]; }
window_hidden() { [ -z "$(main_window)" ]; }
# window_info ID: xwininfo of a window. Without an id xwininfo would wait
# for a click on the screen, for ever.
window_info() {
    [ -n "$1" ] || return 1
    xwininfo -id "$1"
}
# The window manager may still move a window after it shows: wait until it stays.
settle() {
    local w=${1:-$(main_window)} before="" now
    for _ in $(seq 50); do
        now=$(window_info "$w" 2>/dev/null | grep Absolute | tr -d '\n')
        [ "$now" = "$before" ] && return
        before=$now
        sleep 0.1
    done
}
# other_window [TRIES]: a shown window of the program other than the main
# window and the tray icon, waited for TRIES tenths of a second (50 unless told).
other_window() {
    local w
    for _ in $(seq "${1:-50}"); do
        w=$(other_windows | head -n1)
        [ -n "$w" ] && echo "$w" && return
        sleep 0.1
    done
}
# Whether the program shows no window but its tray icon.
no_window_shown() { [ -z "$(main_window)$(other_windows)" ]; }
# The program's windows other than the main window and the tray icon.
other_windows() {
    local w main icon
    main=$(main_window)
    icon=$(tray_icon)
    for w in $(xdotool search --onlyvisible --pid "$orvane" 2>/dev/null); do
        if ! grep -qx "$w" <<<"$main" && [ "$w" != "$icon" ]; then echo "$w"; fi
    done
}
# A newly shown window of the program: waits for it and prints its id.
new_window() {
    local before=$1 w
    for _ in $(seq $((wait_limit * 20))); do
        for w in $(other_windows); do
            grep -qx "$w" <<<"$before" || {
                settle "$w"
                echo "$w"
                return 0
            }
        done
        sleep 0.05
    done
    return 1
}
# The tray icon: the program's small window inside the tray at the bottom left.
tray_icon() {
    local w
    for w in $(xdotool search --onlyvisible --pid "$orvane" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        [ "$Y" -gt $((x_height - 50)) ] && [ "$X" -lt 120 ] && [ "$WIDTH" -le 64 ] && {
            echo "$w"
            return
        }
    done
    return 0
}
# tray_menu ITEM: right-clicks the tray icon and picks item ITEM (0-based).
tray_menu() {
    local icon before keys=""
    icon=$(until_true tray_icon_found && tray_icon)
    [ -n "$icon" ] || fail "no tray icon"
    before=$(other_windows)
    eval "$(xdotool getwindowgeometry --shell "$icon")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 3
    new_window "$before" >/dev/null || fail "the tray icon opened no menu"
    for _ in $(seq 0 "$1"); do keys+="Down "; done
    # shellcheck disable=SC2086
    xdotool key $keys Return
}
tray_icon_found() { [ -n "$(tray_icon)" ]; }

# Rectangle of a control in a skin: "x y w h".
rect() { grep -m1 "^$2=" "$1" | cut -d= -f2 | tr ',' ' '; }
centre() { rect "$1" "$2" | awk '{ print $1 + int($3 / 2), $2 + int($4 / 2) }'; }
# click WINDOW X Y: a left click at X Y inside the window.
click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.2
}
# click_in WINDOW SKIN CONTROL: clicks the centre of a control of a window.
click_in() {
    # shellcheck disable=SC2046
    click "$1" $(centre "$2" "$3")
}
# click_main CONTROL: clicks the centre of a control of the main window.
click_main() { click_in "$(main_window)" "$skin" "$1"; }
click_dialog() { click_in "$1" "$dialog_skin" "$2"; }
# opens CONTROL WHAT: clicks a control of the main window and prints the
# window it opened (WHAT names it in the failure).
opens() {
    local before
    before=$(other_windows)
    click_main "$1"
    new_window "$before" || fail "$1 opened no $2"
}
# open_key_dialog SKIN_KEY: clicks a key of the picture; prints the dialog's window.
open_key_dialog() { opens "$1" "key dialog"; }
# Opens the lighting mode list; prints its popup window.
open_mode_list() { opens CONTROL_XGcombox "mode list popup"; }
# key KEY, chord KEY+KEY, type_text TEXT: typed on the keyboard.
key() { xdotool key "$1"; }
chord() { xdotool key "$1"; }
type_text() { xdotool type "$1"; }
# pointer_away [SECONDS]: the pointer off the windows, where it brings up no
# tooltip (which is a window of its own and may cover a control).
pointer_away() {
    xdotool mousemove $((x_width - 10)) 10
    sleep "${1:-0.3}"
}
# grab CONTROL FILE: the picture of a control of the main window.
grab() {
    local x y w h
    read -r x y w h < <(rect "$skin" "$1")
    eval "$(xdotool getwindowgeometry --shell "$(main_window)")"
    scrot -o -a "$((X + x)),$((Y + y)),$w,$h" "$2"
}
# choose_mode KEYS...: opens the lighting mode list and picks with the keys.
choose_mode() {
    open_mode_list >/dev/null
    xdotool key "$@" Return
    sleep 0.3
}
# choose_colour COLUMN ROW: the paint colour from the Colour button's palette.
choose_colour() {
    local popup
    popup=$(opens CONTROL_USERysButton palette)
    eval "$(xdotool getwindowgeometry --shell "$popup")"
    xdotool mousemove $((X + 12 + 20 * $1)) $((Y + 11 + 20 * $2)) click 1
    until_true gone "$popup" || fail "the palette stayed open"
}
# paint KEY: an instant click on a key of the picture, as xdotool makes it;
# the window must not follow the pointer afterwards.
paint() {
    local w before
    w=$(main_window)
    [ -n "$w" ] || fail "the main window is not shown to paint $1"
    before=$(window_place "$w")
    click_main "$1"
    pointer_away 0.1
    [ "$(window_place "$w")" = "$before" ] || fail "the window followed the pointer after a click on $1"
}
window_place() { window_info "$1" | grep Absolute; }
gone() { ! window_info "$1" 2>/dev/null | grep -q IsViewable; }
# menu_item N: the N-th item (0-based) of the window's menu button.
menu_item() {
    opens CONTROL_MENU menu >/dev/null
    for _ in $(seq 0 "$1"); do xdotool key Down; done
    xdotool key Return
}
# file_dialog BEFORE PATH: types PATH into the file dialog that is opening
# (BEFORE: the program's other windows before it was asked for).
file_dialog() {
    local dialog
    # The menu that asked for it may still be on screen: the dialog is the
    # new window that takes the focus.
    until_true focused_new_window "$1" || fail "no file dialog took the focus"
    dialog=$(focused_window)
    settle "$dialog"
    save_shot file-dialog
    # On a busy machine the first keys may still go astray: the name is
    # typed again over whatever the field holds.
    for _ in 1 2 3; do
        # Typed only into the dialog: once it has gone, Return would press
        # a button of the main window.
        focused "$dialog" || break
        chord ctrl+a
        type_text "$2"
        key Return
        for _ in $(seq $((wait_limit * 4))); do
            gone "$dialog" && return 0
            sleep 0.05
        done
    done
    until_true gone "$dialog" || fail "the file dialog stayed open"
}
# menu_file N PATH: the N-th item of the window's menu (0: restore, 1:
# backup), then PATH typed into the file dialog it opens.
menu_file() {
    local before
    before=$(other_windows)
    menu_item "$1"
    file_dialog "$before" "$2"
}
focused_window() { xdotool getwindowfocus 2>/dev/null; }
focused() { [ "$(focused_window)" = "$1" ]; }
# focused_new_window BEFORE: the focus is on a window of the program that is
# neither the main window nor one of BEFORE.
focused_new_window() {
    local w
    w=$(focused_window) || return 1
    [ "$w" != "$(main_window)" ] && ! grep -qx "$w" <<<"$1" && other_windows | grep -qx "$w"
}

# count_writes CMD: how many requests of command CMD (hex) the trace holds.
count_writes() { grep -c "^> 04 .. .. $1 " "$home/trace" 2>/dev/null || true; }
# The number of requests sent so far; a later wait looks for requests after it.
sent() { grep -c '^> ' "$home/trace" 2>/dev/null || true; }
# The requests sent so far, the writes that failed counted too.
requests() { grep -c '^[>!]' "$home/trace" 2>/dev/null || true; }
# Waits until no request has been sent for a while.
wait_idle() {
    local before=-1 now
    for _ in $(seq $((wait_limit * 10))); do
        now=$(requests)
        [ "$now" = "$before" ] && [ "$now" -gt 0 ] && return
        before=$now
        sleep 0.3
    done
    fail "the keyboard never went quiet"
}
# sent_since N CMD: whether a request of CMD was sent after the N-th request.
sent_since() { grep '^> ' "$home/trace" | tail -n +$(($1 + 1)) | grep -q "^> 04 .. .. $2 "; }

# count_startup: sets $startup to the requests a fresh start sends, then
# removes the trace and the keyboard's memory for the next fresh start.
count_startup() {
    start_orvane
    wait_idle
    startup=$(requests)
    stop
    rm -f "$home/trace" "$home/state"
}

ended() { ! kill -0 "$orvane" 2>/dev/null; }
# Ends the program as Exit from the tray menu does and waits for it.
exit_from_tray() {
    tray_menu 2
    until_true ended || fail "Exit from the tray menu did not end the program"
}
# Ends the program as the session's end does (it saves as on Exit) and waits for it.
stop() {
    kill -TERM "$orvane"
    until_true ended || true
}
ctl() { "$bin/orvanectl" --simulate --sim-state "$home/state" "$@"; }
