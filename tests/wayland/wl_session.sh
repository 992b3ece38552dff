# Shared by the Wayland journeys (sourced, not run): a headless sway of its
# own with a private session bus and waybar's tray as the StatusNotifierItem
# host, the real program on Qt's wayland platform, and the project's own
# input client to drive it. Builds on the X11 scripts' session (a clean
# per-user home, the program against the simulated keyboard, its trace and
# waits) and replaces what is X-specific. Needs $bin (the folder holding
# orvane and orvanectl) and $wlinput (the input client, for a session that
# drives the program); $shots, when set, is a folder for screenshots, the one
# at a failure included; $wl_width and $wl_height, when set, the output's size.
# shellcheck shell=bash disable=SC2034,SC2154
# shellcheck source-path=SCRIPTDIR source=../e2e/x_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/x_session.sh"

# sway refuses to run as root. Everything of the session (sway, its
# runtime dir and sockets, waybar) belongs to a user of its own; the
# program and the test's tools run as the caller, who is root on a test
# machine and so reaches that user's 0700 runtime dir and its sockets
# anyway. The program keeps its own runtime dir (its instance lock) and
# finds the compositor by WAYLAND_DISPLAY's absolute path. The bus lets
# both users in. Run as an ordinary user, the session is simply that user's.
wl_user="orvane-wl"
wl_width=${wl_width:-1600} wl_height=${wl_height:-1000}
bar_height=30 tray_icon_size=20
wl_dir=$(mktemp -d /tmp/orvane-wl.XXXXXX)
chmod 755 "$wl_dir"
wl_pids=()
wl_cleanup() {
    for p in "${wl_pids[@]}"; do kill "$p" 2>/dev/null || true; done
    x_cleanup
    rm -rf "$wl_dir"
}
trap wl_cleanup EXIT

# as_session CMD...: becomes CMD run as the session's user, in its
# environment (started in the background, it is then the pid to end).
as_session() {
    if [ "$(id -u)" -eq 0 ]; then
        exec setpriv --reuid="$wl_user" --regid="$wl_user" --clear-groups \
            env HOME="$wl_dir/home" XDG_RUNTIME_DIR="$wl_run" "$@"
    fi
    exec env HOME="$wl_dir/home" XDG_RUNTIME_DIR="$wl_run" "$@"
}

fail() {
    echo "FAIL: $*" >&2
    [ -n "${E2E_FAILURE_SHOT:-}" ] && [ -S "${WAYLAND_DISPLAY:-/nonexistent}" ] && grim "$E2E_FAILURE_SHOT" 2>/dev/null
    [ -f "$home/out" ] && sed 's/^/  orvane: /' "$home/out" >&2
    local log
    for log in sway waybar bus wlinput; do
        [ -s "$wl_dir/$log.log" ] && tail -n 40 "$wl_dir/$log.log" | sed "s/^/  $log: /" >&2
    done
    exit 1
}
# save_shot NAME [X Y W H]: the output, or a rectangle of it, into $shots.
save_shot() {
    [ -z "$shots" ] && return
    if [ $# -ge 5 ]; then grim -g "$2,$3 $4x$5" "$shots/$1.png"; else grim "$shots/$1.png"; fi
}

session_user() {
    [ "$(id -u)" -eq 0 ] || return 0
    id "$wl_user" >/dev/null 2>&1 ||
        useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$wl_user" ||
        id "$wl_user" >/dev/null 2>&1 || fail "could not create the session user $wl_user"
}

write_session_files() {
    wl_run=$wl_dir/run
    mkdir -p "$wl_run" "$wl_dir/home/.config/waybar"
    chmod 700 "$wl_run"
    cat >"$wl_dir/sway.config" <<EOF
output HEADLESS-1 resolution ${wl_width}x${wl_height} position 0 0
xwayland disable
focus_follows_mouse no
default_border none
default_floating_border none
EOF
    # Only the tray, at the bar's left end, so its first icon sits at a
    # known place: the middle of the first icon-sized cell.
    cat >"$wl_dir/home/.config/waybar/config" <<EOF
{ "layer": "top", "position": "bottom", "height": $bar_height,
  "modules-left": ["tray"], "modules-center": [], "modules-right": [],
  "tray": { "icon-size": $tray_icon_size, "spacing": 0 } }
EOF
    cat >"$wl_dir/home/.config/waybar/style.css" <<EOF
* { border: none; border-radius: 0; margin: 0; padding: 0; min-height: 0; }
window#waybar { background: #203040; }
#tray { padding: 0; margin: 0; }
EOF
    cat >"$wl_dir/bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$wl_dir/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
    chown -R "$wl_user:" "$wl_run" "$wl_dir/home" 2>/dev/null || true
}

sway_up() { [ -S "$SWAYSOCK" ] && swaymsg -t get_outputs 2>/dev/null | jq -e '.[0].current_mode.width' >/dev/null; }
bus_up() { [ -S "$wl_dir/bus" ]; }
has_name() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'
}
tray_host_up() { has_name org.kde.StatusNotifierWatcher; }

# start_retried NAME READY CMD...: CMD as the session's user, its output in
# NAME.log, until READY holds; a start that died or stalled gets two more
# chances.
start_retried() {
    local name=$1 ready=$2 p
    shift 2
    for _ in 1 2 3; do
        as_session "$@" >>"$wl_dir/$name.log" 2>&1 &
        p=$!
        wl_pids+=("$p")
        until_true "$ready" && return
        kill "$p" 2>/dev/null || true
    done
    fail "$name did not start"
}
# start_wayland: the bus, sway and waybar, each waited for.
start_wayland() {
    session_user
    write_session_files
    unset DISPLAY
    export SWAYSOCK=$wl_run/sway-ipc.sock
    (umask 000 && exec dbus-daemon --config-file="$wl_dir/bus.conf" --nofork --nopidfile) \
        >>"$wl_dir/bus.log" 2>&1 &
    wl_pids+=($!)
    until_true bus_up || fail "the session bus did not start"
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$wl_dir/bus
    start_retried sway sway_up env WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        SWAYSOCK="$SWAYSOCK" DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" \
        sway --config "$wl_dir/sway.config"
    local socket
    socket=$(find "$wl_run" -maxdepth 1 -name 'wayland-*' -type s | head -n1)
    [ -n "$socket" ] || fail "sway made no Wayland socket"
    export WAYLAND_DISPLAY=$socket
    # waybar's tray is up once it holds the watcher's name on the bus.
    start_retried waybar tray_host_up env WAYLAND_DISPLAY="$WAYLAND_DISPLAY" \
        DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" NO_AT_BRIDGE=1 GDK_BACKEND=wayland waybar
    start_input
    export QT_QPA_PLATFORM=wayland
    # Tooltips and the like come from the program, not from the desktop's
    # theme, whatever the machine's defaults.
    unset QT_QPA_PLATFORMTHEME
}

# One input client for the whole session, commands in by one pipe and its
# answers out by another.
start_input() {
    [ -n "${wlinput:-}" ] || return 0
    mkfifo "$wl_dir/input.in" "$wl_dir/input.out"
    "$wlinput" <"$wl_dir/input.in" >"$wl_dir/input.out" 2>>"$wl_dir/wlinput.log" &
    wl_pids+=($!)
    exec 7>"$wl_dir/input.in" 8<"$wl_dir/input.out"
}
# input CMD...: each argument one command of the input client, each waited for.
input() {
    local cmd reply
    for cmd in "$@"; do
        { echo "$cmd" >&7 && read -r -t 30 reply <&8 && [ "$reply" = ok ]; } ||
            fail "the input client failed on: $cmd"
    done
}
# Under the names the X11 steps use.
key() { input "key $1"; }
chord() { input "chord $1"; }
type_text() { input "type $1"; }

# The program's windows in sway's tree, one JSON object a line.
windows() {
    swaymsg -t get_tree 2>/dev/null |
        jq -c --argjson pid "${orvane:-0}" '.. | objects | select(.pid? == $pid and (.type == "con" or .type == "floating_con")) | {id, name, focused, visible, rect}'
}
# The main window's id: the program's widest window of that title.
main_window() {
    windows | jq -rs 'map(select(.name == "Orvane Keyboard Settings" and .visible and .rect.width > 600)) | max_by(.rect.width) | .id // empty'
}
other_windows() {
    local main
    main=$(main_window)
    windows | jq -r --arg main "$main" 'select(.visible and (.id | tostring) != $main) | .id'
}
# geometry ID: "x y w h" of a window in output coordinates.
geometry() { windows | jq -r --argjson id "$1" 'select(.id == $id) | .rect | "\(.x) \(.y) \(.width) \(.height)"'; }
focused_window() { windows | jq -r 'select(.focused) | .id'; }
gone() { [ -z "$(windows | jq -r --argjson id "$1" 'select(.id == $id and .visible) | .id')" ]; }
# The compositor may still place a window after it maps: wait until it stays.
settle() {
    local w=${1:-$(main_window)} before="" now
    for _ in $(seq 50); do
        now=$(geometry "$w")
        [ -n "$now" ] && [ "$now" = "$before" ] && return
        before=$now
        sleep 0.1
    done
}
# click WINDOW X Y: a left click at X Y inside the window.
click() {
    local x y w h
    read -r x y w h < <(geometry "$1")
    [ -n "$x" ] || fail "no window $1 to click"
    input "move $((x + $2)) $((y + $3))" "click left"
    sleep 0.2
}
# The pointer off every window, where a tooltip cannot come up.
pointer_away() { input "move $((wl_width - 10)) 10"; }

# The tray: the program's item registered with waybar's watcher, drawn in
# the first icon cell at the bar's left end; tray_items, the bus names of
# the items registered.
tray_items() {
    dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
        string:RegisteredStatusNotifierItems 2>/dev/null | sed -n 's/^ *string "\([^"/]*\).*/\1/p'
}
tray_item_registered() { [ -n "$(tray_items)" ]; }
tray_icon_x=$((tray_icon_size / 2)) tray_icon_y=$((wl_height - bar_height / 2))
# shot FILE [X Y W H]: a PPM picture of the output or of a rectangle of it.
shot() {
    if [ $# -ge 5 ]; then grim -t ppm -g "$2,$3 $4x$5" "$1"; else grim -t ppm "$1"; fi
}
picture() { python3 "$(dirname "${BASH_SOURCE[0]}")/picture.py" "$@"; }
# Whether the tray's first cell shows more than the bar's own colour.
tray_icon_drawn() {
    shot "$wl_dir/cell.ppm" 0 $((wl_height - bar_height)) "$tray_icon_size" "$bar_height" &&
        [ "$(picture other "$wl_dir/cell.ppm" 32 48 64)" -gt 10 ]
}
tray_icon_shown() { tray_item_registered && tray_icon_drawn; }
wait_tray_icon() { until_true tray_icon_shown || fail "no tray icon in waybar"; }
# The menu waybar draws for the tray icon: its rectangle, from what changed
# at the bar's left end.
tray_menu_items=3 # Open, About, Exit
tray_menu_box() {
    shot "$wl_dir/after.ppm" 0 $((wl_height - 300)) 300 300 &&
        picture changed "$wl_dir/before.ppm" "$wl_dir/after.ppm"
}
# Drawn whole once it stays the same from one look to the next.
tray_menu_steady() {
    local now
    now=$(tray_menu_box)
    [ -n "$now" ] && [ "$now" = "$last_box" ] && return 0
    last_box=$now
    return 1
}
# tray_menu ITEM: right-clicks the tray icon and clicks item ITEM (0-based)
# of its menu. waybar's menu takes no keys from a virtual keyboard: it is
# clicked, each item a third of its height.
tray_menu() {
    wait_tray_icon
    local x y w h
    input "move $tray_icon_x $tray_icon_y"
    popup_area=(0 $((wl_height - 300)) 300 300)
    until_true area_steady || true
    # waybar reads the menu from the program when first asked: a click that
    # came before it could may show nothing, and is made again.
    local attempt
    for attempt in 1 2 3; do
        shot "$wl_dir/before.ppm" 0 $((wl_height - 300)) 300 300
        input "click right"
        last_box=""
        until_true tray_menu_steady && break
        [ "$attempt" = 3 ] && fail "the tray icon opened no menu"
        input "key Escape"
    done
    read -r x y w h <<<"$last_box"
    save_shot tray-menu
    input "move $((x + w / 2)) $((wl_height - 300 + y + h * (2 * $1 + 1) / (2 * tray_menu_items)))" "click left"
}

# A popup (a menu, the mode list, the palette) is no window of sway's tree:
# it is seen by the picture below its control changing, away from the
# keyboard picture, whose preview moves in most lighting modes. The pointer
# rests on the control until its hover look is drawn, so only the popup can
# change that picture after the click.
area_sum() { shot - "${popup_area[@]}" 2>/dev/null | md5sum; }
area_steady() {
    local a
    a=$(area_sum)
    sleep 0.1
    [ "$(area_sum)" = "$a" ]
}
area_changed() { [ "$(area_sum)" != "$area_before" ]; }
# popup_main CONTROL: clicks a control of the main window and waits for what
# it pops up.
popup_main() {
    local x y _ cx cy
    read -r x y _ < <(geometry "$(main_window)")
    read -r cx cy < <(centre "$skin" "$1")
    cx=$((x + cx)) cy=$((y + cy))
    local left=$((cx > 150 ? cx - 150 : 0)) top=$((cy + 10))
    popup_area=("$left" "$top" $((left + 300 > wl_width ? wl_width - left : 300))
        $((top + 200 > wl_height ? wl_height - top : 200)))
    input "move $cx $cy"
    until_true area_steady || true
    area_before=$(area_sum)
    input "click left"
    until_true area_changed
}
open_mode_list() { popup_main CONTROL_XGcombox || fail "the mode list opened no popup"; }
choose_mode() {
    open_mode_list
    local k cmds=()
    for k in "$@"; do cmds+=("key $k"); done
    input "${cmds[@]}" "key Return"
    sleep 0.3
}
menu_item() {
    popup_main CONTROL_MENU || fail "the menu button opened no menu"
    local cmds=()
    for _ in $(seq 0 "$1"); do cmds+=("key Down"); done
    input "${cmds[@]}" "key Return"
}
# choose_colour COLUMN ROW: from the Colour button's palette, which opens
# with its first colour focused, by Tab and Space.
palette_columns=10
choose_colour() {
    popup_main CONTROL_USERysButton || fail "the colour button opened no palette"
    local cmds=()
    for _ in $(seq $(($2 * palette_columns + $1))); do cmds+=("key Tab"); done
    input "${cmds[@]}" "key space"
}
# Where a window is, for paint's check that it stays.
window_place() { geometry "$1"; }
