#!/usr/bin/env bash
# docs/menu.png: the tray menu of a playing player with its Settings and message display
# submenus open, opened by a right click on the icon and the access keys "O" and "M".
# Run through screenshots.sh.
set -euo pipefail
# shellcheck source=scripts/screenshots-common.sh
source "$(dirname "$0")/screenshots-common.sh"
make_wav "$work/01 Morning.wav" 60
make_wav "$work/02 Evening.wav" 60 660
# Repeat on and balloon messages, so that a check mark and a radio bullet show.
printf '[OPTION]\r\nREPEAT=1\r\nMSG_DISPLAY_TYPE=1\r\n' >"$work/$(id -un) Velmoris Player.ini"
start_player "Z:${work//\//\\}\\01 Morning.wav" "Z:${work//\//\\}\\02 Evening.wav"
sleep 2
xdotool mousemove 1013 690 click 3
sleep 1
# Keys reach the window under the pointer once the X focus is on the root window.
xdotool windowfocus "$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')"
xdotool mousemove 955 477
sleep 0.5
xdotool key o
sleep 1
xdotool key m
sleep 1
import -window root -crop 420x330+604+370 +repage "$root/docs/menu.png"
xdotool key Escape Escape Escape
probe command 1001
wait "$player" || true
echo "docs/menu.png"
