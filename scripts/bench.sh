#!/usr/bin/env bash
# Builds and runs every benchmark under Wine (private Xvfb, PulseAudio and prefix, as test.sh)
# and prints their figures.
#
#   scripts/bench.sh [name...]     e.g. scripts/bench.sh playlist_bench
set -euo pipefail
# shellcheck source=scripts/wine-env.sh
source "$(dirname "$0")/wine-env.sh"
wine_env_build_and_start

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    for exe in "$build_dir"/bench/*_bench.exe; do
        [ -e "$exe" ] && names+=("$(basename "$exe" .exe)")
    done
fi
for name in "${names[@]}"; do
    echo "== $name"
    "$root/scripts/wine-run.sh" "$build_dir/bench/$name.exe"
done
