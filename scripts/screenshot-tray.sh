#!/usr/bin/env bash
# docs/tray.png: the tray icon with its tooltip in the Wine desktop. Run through screenshots.sh.
set -euo pipefail
# shellcheck source=scripts/screenshots-common.sh
source "$(dirname "$0")/screenshots-common.sh"
start_player
# Rest the pointer on the icon so that its tooltip shows.
xdotool mousemove 1013 690
sleep 2
import -window root -crop 420x160+604+540 +repage "$root/docs/tray.png"
probe command 1001
wait "$player" || true
echo "docs/tray.png"
