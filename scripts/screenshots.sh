#!/usr/bin/env bash
# Makes the screenshots in docs/ again: runs every scripts/screenshot-*.sh inside one private
# Xvfb, PulseAudio and Wine prefix (as test.sh does).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/scripts/build.sh"
build_dir="$(cd "${BUILD_DIR:-build}" && pwd)"

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT
wine_env_start "$build_dir/test-env"
export VELMORIS_BUILD_DIR="$build_dir"
mkdir -p "$root/docs"

for script in "$root"/scripts/screenshot-*.sh; do
    if [ $# -eq 0 ] || [[ " $* " == *" $(basename "$script" .sh | sed 's/^screenshot-//') "* ]]; then
        echo "== $(basename "$script")"
        bash "$script"
    fi
done
