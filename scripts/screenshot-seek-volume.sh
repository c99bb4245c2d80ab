#!/usr/bin/env bash
# docs/seek.png: the seek window over a playing track of 3:45, seeked to about 1:23, with the
# pointer at its middle; docs/volume.png: the volume dialog. Run through screenshots.sh.
set -euo pipefail
# shellcheck source=scripts/screenshots-common.sh
source "$(dirname "$0")/screenshots-common.sh"
# The window: (400, 270)-(600, 330); a click at x = 74 of 200 seeks to 1:23.25.
shoot_seek_window 474 240x100+380+250 seek.png

# A click elsewhere closes the seek window; the volume dialog opens at the pointer.
xdotool mousemove 500 600 click 1
xdotool mousemove 500 300
probe command 1016
probe window "#32770" "音量" 10000
sleep 1
import -window root -crop 360x140+320+230 +repage "$root/docs/volume.png"

xdotool mousemove 500 600 click 1
probe command 1001
wait "$player" || true
echo "docs/seek.png docs/volume.png"
