#!/usr/bin/env bash
# Makes the Windows downloads: dist/velmoris-player-VERSION-x64.zip and -x86.zip, each holding
# VelmorisPlayer.exe (statically linked) and package/Readme.txt. Builds both from fresh build
# folders under dist/, checks Readme.txt's encoding, and starts the unpacked x64 program alone in
# a new Wine prefix until its tray icon shows. The x86 program is started the same way only where
# 32-bit Wine (wine32) is installed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/scripts/install-deps.sh"
# The version is set once, in project(... VERSION ...); the resources take it from there too.
version="$(sed -n 's/^project(VelmorisPlayer VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)"
[ -n "$version" ] || { echo "no version in CMakeLists.txt" >&2; exit 1; }
dist="$root/dist"
rm -rf "$dist"
mkdir -p "$dist"

readme="$root/package/Readme.txt"
python3 - "$readme" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
problems = []
if not data.startswith(b"\xef\xbb\xbf"):
    problems.append("does not start with the UTF-8 byte-order mark EF BB BF")
if data.count(b"\n") != data.count(b"\r\n") or data.count(b"\r") != data.count(b"\r\n"):
    problems.append("has line ends other than CR LF")
try:
    data.decode("utf-8")
except UnicodeDecodeError as error:
    problems.append(f"is not UTF-8 ({error})")
if problems:
    sys.exit(f"{sys.argv[1]} " + "; ".join(problems))
PY

# $1: x64 or x86, $2: toolchain file, then the targets to build.
build() {
    local arch="$1" toolchain="$2"
    shift 2
    cmake -S "$root" -B "$dist/build-$arch" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$dist/build-$arch" -j "$(nproc)" --target "$@"
    mkdir -p "$dist/stage-$arch"
    cp "$dist/build-$arch/player.exe" "$dist/stage-$arch/VelmorisPlayer.exe"
    cp "$readme" "$dist/stage-$arch/Readme.txt"
    (cd "$dist/stage-$arch" && zip -q -X "$dist/velmoris-player-$version-$arch.zip" VelmorisPlayer.exe Readme.txt)
}
build x64 mingw-w64-x86_64.cmake player probe
build x86 mingw-w64-i686.cmake player

# source after the builds: wine-env.sh is made to be sourced by scripts that may leave early.
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"

# $1: x64 or x86. The zip unpacked alone into an empty folder, in a Wine prefix made for this
# check only: the program must start, show its tray icon, and end with 0 on its Exit command.
check_start() {
    local arch="$1" env="$dist/check-$1" probe="$dist/build-x64/tests/probe.exe"
    mkdir -p "$env/app"
    unzip -q "$dist/velmoris-player-$version-$arch.zip" -d "$env/app"
    trap wine_env_stop EXIT
    wine_env_start "$env"
    wine "$env/app/VelmorisPlayer.exe" >"$env/player.log" 2>&1 </dev/null &
    local player=$! result=0
    if wine "$probe" wait-player 60000 >/dev/null 2>&1 </dev/null &&
        wine "$probe" tray-exists >/dev/null 2>&1 </dev/null; then
        echo "$arch: started alone in a new Wine prefix and showed its tray icon"
    else
        echo "$arch: did not start with its tray icon in a new Wine prefix (see $env)" >&2
        result=1
    fi
    wine "$probe" command 1001 >/dev/null 2>&1 </dev/null || true
    wait "$player" || result=1
    wine_env_stop
    trap - EXIT
    return "$result"
}
check_start x64
if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
    check_start x86
else
    echo "x86: built with warnings as errors; not started (32-bit Wine, wine32:i386, is not installed)"
fi
ls -l "$dist"/*.zip
