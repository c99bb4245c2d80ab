#!/usr/bin/env bash
# Builds the player and runs every test (unit tests and end-to-end tests) under Wine, inside a
# private Xvfb, PulseAudio null sink and Wine prefix under the build folder. Stops exactly what
# it started, by pid, whether the tests pass or fail. Also builds the 32-bit player (build/i686),
# which the test e2e_x86_player starts under 32-bit Wine.
#
#   scripts/test.sh [ctest arguments...]      e.g. scripts/test.sh -R unit
set -euo pipefail
# shellcheck source=scripts/wine-env.sh
source "$(dirname "$0")/wine-env.sh"
wine_env_build_and_start

# The 32-bit program, with the same warnings as errors, for e2e_x86_player (tests/CMakeLists.txt).
if [ ! -f "$build_dir/i686/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build_dir/i686" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build_dir/i686" -j "$(nproc)" --target player

cd "$build_dir"
ctest --output-on-failure --timeout 900 "$@"
