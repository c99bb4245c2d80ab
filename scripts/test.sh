#!/usr/bin/env bash
# Builds the player and runs every test (unit tests and end-to-end tests) under Wine, inside a
# private Xvfb, PulseAudio null sink and Wine prefix under the build folder. Stops exactly what
# it started, by pid, whether the tests pass or fail.
#
#   scripts/test.sh [ctest arguments...]      e.g. scripts/test.sh -R unit
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/scripts/build.sh"
build_dir="$(cd "${BUILD_DIR:-build}" && pwd)"

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT
wine_env_start "$build_dir/test-env"

cd "$build_dir"
ctest --output-on-failure --timeout 900 "$@"
