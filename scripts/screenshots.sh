#!/usr/bin/env bash
# Makes the screenshots in docs/ again: runs every scripts/screenshot-*.sh inside one private
# Xvfb, PulseAudio and Wine prefix (as test.sh does).
set -euo pipefail
# shellcheck source=scripts/wine-env.sh
source "$(dirname "$0")/wine-env.sh"
wine_env_build_and_start
export VELMORIS_BUILD_DIR="$build_dir"
mkdir -p "$root/docs"

for script in "$root"/scripts/screenshot-*.sh; do
    if [ $# -eq 0 ] || [[ " $* " == *" $(basename "$script" .sh | sed 's/^screenshot-//') "* ]]; then
        echo "== $(basename "$script")"
        bash "$script"
    fi
done
