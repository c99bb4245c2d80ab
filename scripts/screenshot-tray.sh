#!/usr/bin/env bash
# docs/tray.png: the tray icon with its tooltip in the Wine desktop. Run through screenshots.sh.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$VELMORIS_BUILD_DIR/screenshot-tray"
rm -rf "$work"
mkdir -p "$work"
cp "$VELMORIS_BUILD_DIR/player.exe" "$work/player.exe"
wine "$work/player.exe" >/dev/null 2>&1 </dev/null &
player=$!
wine "$VELMORIS_BUILD_DIR/tests/probe.exe" wait-player 20000 >/dev/null 2>&1 </dev/null
# Rest the pointer on the icon so that its tooltip shows.
xdotool mousemove 1013 690
sleep 2
import -window root -crop 420x160+604+540 +repage "$root/docs/tray.png"
wine "$VELMORIS_BUILD_DIR/tests/probe.exe" command 1001 >/dev/null 2>&1 </dev/null
wait "$player" || true
echo "docs/tray.png"
