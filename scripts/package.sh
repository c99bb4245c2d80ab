#!/usr/bin/env bash
# Makes the Windows downloads: dist/velmoris-player-VERSION-x64.zip and -x86.zip, each holding
# VelmorisPlayer.exe (statically linked) and package/Readme.txt. Builds both from fresh build
# folders under dist/, checks Readme.txt's encoding and that each program's manifest names the
# processor of its PE header, and starts each unpacked program alone in a new Wine prefix until its
# tray icon shows.
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

# $1: a zip. Windows refuses to start a program whose own manifest names another processor than
# its PE header's; Wine starts it all the same, so only this check sees it.
check_manifest() {
    python3 - "$1" <<'PY'
import struct, sys, zipfile, xml.etree.ElementTree as ET
where = f"{sys.argv[1]}: VelmorisPlayer.exe"
exe = zipfile.ZipFile(sys.argv[1]).read("VelmorisPlayer.exe")
pe = struct.unpack_from("<I", exe, 0x3C)[0]
machine, section_count = struct.unpack_from("<HH", exe, pe + 4)
optional, optional_size = pe + 24, struct.unpack_from("<H", exe, pe + 20)[0]
processor = {0x14C: "x86", 0x8664: "amd64"}.get(machine, f"machine {machine:#x}")
# The resource table is the third data directory; the directories begin at 96 in PE32 (magic 0x10B), at 112 in PE32+.
magic = struct.unpack_from("<H", exe, optional)[0]
resources = struct.unpack_from("<I", exe, optional + (96 if magic == 0x10B else 112) + 2 * 8)[0]
sections = [struct.unpack_from("<IIII", exe, optional + optional_size + 40 * i + 8) for i in range(section_count)]


def at(rva):  # the file offset of a relative virtual address
    return next(raw + rva - start for size, start, _, raw in sections if start <= rva < start + size)


def entries(directory):  # (id, target) of each entry of a resource directory
    count = sum(struct.unpack_from("<HH", exe, at(resources) + directory + 12))
    return [struct.unpack_from("<II", exe, at(resources) + directory + 16 + 8 * i) for i in range(count)]


named = []
for kind, names in entries(0) if resources else []:
    for _, languages in entries(names & 0x7FFFFFFF) if kind == 24 else []:  # RT_MANIFEST
        for _, leaf in entries(languages & 0x7FFFFFFF):
            rva, size = struct.unpack_from("<II", exe, at(resources) + leaf)
            try:
                manifest = ET.fromstring(exe[at(rva):at(rva) + size])
            except ET.ParseError as error:
                sys.exit(f"{where}: its manifest is not well-formed XML ({error})")
            identity = manifest.find("{urn:schemas-microsoft-com:asm.v1}assemblyIdentity")  # the program's own
            named.append(None if identity is None else identity.get("processorArchitecture"))
if set(named) != {processor}:
    sys.exit(f"{where}: its manifest names processor {', '.join(map(str, named)) or 'none'}, its PE header {processor}")
print(f"{where}: manifest and PE header both name {processor}")
PY
}

# $1: x64 or x86, $2: toolchain file, then the targets to build.
build() {
    local arch="$1" toolchain="$2" zip="$dist/velmoris-player-$version-$1.zip"
    shift 2
    cmake -S "$root" -B "$dist/build-$arch" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$dist/build-$arch" -j "$(nproc)" --target "$@"
    mkdir -p "$dist/stage-$arch"
    cp "$dist/build-$arch/player.exe" "$dist/stage-$arch/VelmorisPlayer.exe"
    cp "$readme" "$dist/stage-$arch/Readme.txt"
    (cd "$dist/stage-$arch" && zip -q -X "$zip" VelmorisPlayer.exe Readme.txt)
    # A zip whose program Windows would refuse is not left for anyone to hand out.
    check_manifest "$zip" || { rm -f "$zip"; return 1; }
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
check_start x86
ls -l "$dist"/*.zip
