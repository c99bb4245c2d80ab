#!/usr/bin/env bash
# Builds the player and runs every test (unit tests and end-to-end tests) under Wine, inside a
# private Xvfb, PulseAudio null sink and Wine prefix under the build folder. Stops exactly what
# it started, by pid, whether the tests pass or fail.
#
#   scripts/test.sh [ctest arguments...]      e.g. scripts/test.sh -R unit
set -euo pipefail
# shellcheck source=scripts/wine-env.sh
source "$(dirname "$0")/wine-env.sh"
wine_env_build_and_start

cd "$build_dir"
ctest --output-on-failure --timeout 900 "$@"
