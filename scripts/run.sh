#!/usr/bin/env bash
# Builds the player and starts it under Wine in a virtual desktop with a notification area.
# Arguments are handed to the player (Windows paths such as Z:\home\me\music\a.mp3, or Linux
# paths, which are turned into Windows ones).
#
# With DISPLAY set, the desktop opens on that display; without it, a private Xvfb is started and
# the script prints how to look at it. Stop with Ctrl+C or the player's 終了 (Exit) menu item.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/scripts/build.sh"
build_dir="$(cd "${BUILD_DIR:-build}" && pwd)"

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
run_dir="$build_dir/run-env"
mkdir -p "$run_dir"
if [ -z "${DISPLAY:-}" ]; then
    trap wine_env_stop EXIT
    wine_env_start "$run_dir"
    echo "Private display $DISPLAY. To look at it:"
    echo "    DISPLAY=$DISPLAY import -window root screenshot.png"
    echo "or attach a VNC viewer after: x11vnc -display $DISPLAY"
else
    trap wine_env_stop EXIT
    if ! pactl info >/dev/null 2>&1; then
        wine_env_start_pulse "$run_dir"
    fi
    wine_env_prepare_prefix "$run_dir"
    wine_env_replace_fonts
    wine_env_complete_prefix
    WINE_ENV_STARTED_WINESERVER=1
fi

args=()
for a in "$@"; do
    if [ -e "$a" ]; then
        args+=("$(WINEDEBUG=-all winepath -w "$(realpath "$a")" 2>/dev/null)")
    else
        args+=("$a")
    fi
done

# The player keeps its settings and playlist beside the program: give it a home of its own.
mkdir -p "$run_dir/player"
cp "$build_dir/player.exe" "$run_dir/player/player.exe"
cp "$root/package/Readme.txt" "$run_dir/player/Readme.txt"
echo "Starting Velmoris Player; its icon is in the notification area at the bottom right."
wine "$run_dir/player/player.exe" "${args[@]}"
