#!/usr/bin/env bash
# docs/seek-144.png: the seek window of docs/seek.png at 150 % display scale (144 DPI), in a copy of the prefix
# with a server of its own, which is stopped again. Run through screenshots.sh.
set -euo pipefail
# shellcheck source=scripts/screenshots-common.sh
source "$(dirname "$0")/screenshots-common.sh"
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
wine_env_scaled_prefix "$work/prefix-144" 144
export WINEPREFIX="$work/prefix-144"
stop_scaled_prefix() {
    wineserver -k 2>/dev/null || true
    wineserver -w
    rm -rf "$WINEPREFIX"
}
trap stop_scaled_prefix EXIT
# 300 x 90 now: (350, 255)-(650, 345); a click at x = 111 of 300 seeks to 1:23.25.
shoot_seek_window 461 360x150+320+225 seek-144.png

xdotool mousemove 500 600 click 1
probe command 1001
wait "$player" || true
echo "docs/seek-144.png"
