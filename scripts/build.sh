#!/usr/bin/env bash
# Configures and builds everything into ${BUILD_DIR:-build}.
set -euo pipefail
cd "$(dirname "$0")/.."
"$(dirname "$0")/install-deps.sh"
build_dir="${BUILD_DIR:-build}"
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build_dir" -j "$(nproc)"
