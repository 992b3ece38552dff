#!/usr/bin/env bash
# What a keyboard owner does with the real program on a Wayland desktop:
# headless sway with waybar's tray, the program on Qt's wayland platform,
# real pointer and key events from the project's input client.
# Usage: journeys_wayland.sh BIN_DIR WLINPUT JOURNEY
set -euo pipefail
bin=$(cd "${1:?usage: $0 BIN_DIR WLINPUT JOURNEY}" && pwd)
wlinput=${2:?usage: $0 BIN_DIR WLINPUT JOURNEY}
journey=${3:?usage: $0 BIN_DIR WLINPUT JOURNEY}
shots=${shots:-$PWD/wayland-$journey}
mkdir -p "$shots"
# shellcheck source-path=SCRIPTDIR source=wl_session.sh
source "$(dirname "$0")/wl_session.sh"

# The window, its tray icon, and Exit from the tray menu.
journey_smoke() {
    start_orvane
    wait_tray_icon
    save_shot window
    save_shot tray 0 $((wl_height - bar_height)) 120 "$bar_height"
    exit_from_tray
}

start_wayland
case $journey in
smoke) journey_smoke ;;
*) fail "no journey '$journey'" ;;
esac
echo "PASS"
