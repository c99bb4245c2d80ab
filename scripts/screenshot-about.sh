#!/usr/bin/env bash
# docs/about.png: the About dialog, centred in the Wine desktop, opened with the About command.
# Run through screenshots.sh.
set -euo pipefail
# shellcheck source=scripts/screenshots-common.sh
source "$(dirname "$0")/screenshots-common.sh"
start_player
# The pointer away from the link, so that it shows in its idle blue.
xdotool mousemove 100 100
probe command 1003
probe window "#32770" "バージョン情報" 10000
sleep 1
import -window root -crop 326x401+349+139 +repage "$root/docs/about.png"
probe dialog-ok "バージョン情報"
probe command 1001
wait "$player" || true
echo "docs/about.png"
