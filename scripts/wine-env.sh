# Sourced by run.sh and test.sh: a private X display, a PulseAudio null sink and a
# Wine prefix with a "shell" virtual desktop, each started here and stopped by pid.
#
# After wine_env_start:
#   DISPLAY, PULSE_SERVER, WINEPREFIX, WINEDEBUG are exported;
#   wine_env_stop stops exactly what wine_env_start started.

WINE_ENV_XVFB_PID=""
WINE_ENV_PULSE_PID=""
WINE_ENV_STARTED_WINESERVER=""

wine_env_log() { printf '[wine-env] %s\n' "$*" >&2; }

# Xvfb on a display number that Xvfb itself finds free and holds (-displayfd writes it once the
# server accepts clients). Picking a number here and starting Xvfb on it was a race: a run whose
# own server lost the number to another run's could take that run's display for its own, and two
# runs' clicks and keys then went to each other's windows.
wine_env_start_xvfb() {
    local i
    rm -f "$1/display"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$1/display" >"$1/xvfb.log" 2>&1 &
    WINE_ENV_XVFB_PID=$!
    for i in $(seq 1 100); do
        if grep -q '^[0-9]' "$1/display" 2>/dev/null; then
            DISPLAY=":$(head -n 1 "$1/display")"
            export DISPLAY
            wine_env_log "Xvfb on $DISPLAY (pid ${WINE_ENV_XVFB_PID})"
            return 0
        fi
        if ! kill -0 "$WINE_ENV_XVFB_PID" 2>/dev/null; then
            break
        fi
        sleep 0.1
    done
    kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    WINE_ENV_XVFB_PID=""
    wine_env_log "Xvfb did not start; see $1/xvfb.log"
    return 1
}

# A PulseAudio daemon of our own with one null sink, reachable only through a socket in $1.
wine_env_start_pulse() {
    local dir="$1/pulse"
    rm -rf "$dir"
    mkdir -p "$dir/runtime" "$dir/state" "$dir/config"
    PULSE_RUNTIME_PATH="$dir/runtime" PULSE_STATE_PATH="$dir/state" PULSE_CONFIG_PATH="$dir/config" \
        pulseaudio --daemonize=no --exit-idle-time=-1 --system=false -n --disable-shm=yes \
        --load="module-null-sink sink_name=null" \
        --load="module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
        >"$1/pulse.log" 2>&1 &
    WINE_ENV_PULSE_PID=$!
    local i
    for i in $(seq 1 100); do
        if [ -S "$dir/native" ]; then
            export PULSE_SERVER="unix:$dir/native"
            wine_env_log "PulseAudio null sink (pid ${WINE_ENV_PULSE_PID})"
            return 0
        fi
        if ! kill -0 "$WINE_ENV_PULSE_PID" 2>/dev/null; then break; fi
        sleep 0.1
    done
    wine_env_log "PulseAudio did not start; see $1/pulse.log"
    return 1
}

# A Wine prefix in $1/wineprefix, made once: virtual desktop "shell" with a taskbar,
# Japanese text linked to the Noto CJK font. 32-bit Wine must be there (the x86 program runs too),
# and a prefix made without it is made again: once wine32 is installed, such a prefix fails every
# program, 64-bit ones too, with "c0000135".
wine_env_prepare_prefix() {
    export WINEPREFIX="$1/wineprefix"
    export WINEDEBUG="${WINEDEBUG:--all}"
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
        wine_env_log "32-bit Wine (wine32:i386) is not installed; scripts/install-deps.sh installs it"
        return 1
    fi
    if [ -f "$WINEPREFIX/.velmoris-ready" ] && [ -f "$WINEPREFIX/.velmoris-wine32" ]; then
        return 0
    fi
    wine_env_log "creating Wine prefix $WINEPREFIX (once)"
    rm -rf "$WINEPREFIX"
    wineboot -i >"$1/wineboot.log" 2>&1
    local reg=(wine reg add)
    "${reg[@]}" 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
    "${reg[@]}" 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x700 /f >/dev/null 2>&1
    local face
    for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "MS UI Gothic" "Microsoft Sans Serif" "MS Gothic" "ＭＳ ゴシック"; do
        "${reg[@]}" 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
            /v "$face" /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans CJK JP' /f >/dev/null 2>&1
    done
    wineserver -w
    touch "$WINEPREFIX/.velmoris-wine32" "$WINEPREFIX/.velmoris-ready"
}

# GDI+ finds a family only by a face name that is really installed: "ＭＳ ゴシック" (the seek
# window's face) and "Microsoft Sans Serif" (GDI+'s generic sans-serif) are given as aliases of
# the installed Noto CJK and Liberation faces, as a Japanese Windows machine has them. Added to
# prefixes made before this step too.
wine_env_replace_fonts() {
    if [ -f "$WINEPREFIX/.velmoris-fonts" ]; then
        return 0
    fi
    local key='HKCU\Software\Wine\Fonts\Replacements' face
    for face in "ＭＳ ゴシック" "MS Gothic"; do
        wine reg add "$key" /v "$face" /d 'Noto Sans Mono CJK JP' /f >/dev/null 2>&1
    done
    wine reg add "$key" /v "Microsoft Sans Serif" /d 'Liberation Sans' /f >/dev/null 2>&1
    touch "$WINEPREFIX/.velmoris-fonts"
}

# What a Windows machine has and a fresh prefix lacks, added to prefixes made before this step too:
# - Marlett, the face of the caption buttons' glyphs. This Wine looks for its own fonts in
#   C:\windows\Fonts (and fontconfig's folders); Debian's fonts-wine puts marlett.ttf in
#   /usr/share/wine/fonts, which neither covers, so captions drew the letter "r" for the close
#   button. A copy in the prefix's Fonts folder is found.
# - The ".txt" -> "txtfile" mapping, so that the shell's "open" on Readme.txt starts Notepad.
wine_env_complete_prefix() {
    if [ -f "$WINEPREFIX/.velmoris-marlett-txt" ]; then
        return 0
    fi
    local marlett=/usr/share/wine/fonts/marlett.ttf
    if [ ! -f "$marlett" ]; then
        wine_env_log "$marlett is missing (Debian package fonts-wine)"
        return 1
    fi
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
    wine reg add 'HKCR\.txt' /ve /d txtfile /f >/dev/null 2>&1
    touch "$WINEPREFIX/.velmoris-marlett-txt"
}

# A copy in $1 of the prepared prefix $WINEPREFIX whose display scale is $2 DPI (LogPixels), for the tests and
# screenshots at another scale; making a new prefix would take tens of seconds. The program files are hard links
# (Wine never writes them in place), the rest is copied, except the file "wineserver": Debian's Wine keeps there
# the name of the prefix's server folder, and the copy needs a server of its own. That server is stopped again
# here, so that every process of the copy, its desktop too, starts with the new scale; whoever runs programs in
# the copy stops it again (WINEPREFIX=$1 wineserver -k).
wine_env_scaled_prefix() {
    local dir
    rm -rf "$1"
    mkdir -p "$1/drive_c/windows"
    for dir in system32 syswow64 winsxs; do
        cp -al "$WINEPREFIX/drive_c/windows/$dir" "$1/drive_c/windows/"
    done
    cp -an "$WINEPREFIX/." "$1/"
    rm -f "$1/wineserver"
    WINEPREFIX="$1" wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$2" /f >/dev/null 2>&1
    WINEPREFIX="$1" wineserver -k 2>/dev/null || true
    WINEPREFIX="$1" wineserver -w
}

# $1: the build folder that holds everything of this run.
wine_env_start() {
    mkdir -p "$1"
    # Wine turns command-line arguments and Unix file names into Unicode through the Unix
    # locale: a UTF-8 one keeps Japanese names whole.
    export LC_ALL=C.UTF-8
    wine_env_start_xvfb "$1" || return 1
    wine_env_start_pulse "$1" || return 1
    wine_env_prepare_prefix "$1" || return 1
    wine_env_replace_fonts
    wine_env_complete_prefix || return 1
    # The server of this prefix is ours from here on; wine_env_stop ends it.
    WINE_ENV_STARTED_WINESERVER=1
    wineserver -p 2>/dev/null || true
}

wine_env_stop() {
    if [ -n "$WINE_ENV_STARTED_WINESERVER" ] && [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
        WINE_ENV_STARTED_WINESERVER=""
    fi
    local pid
    for pid in "$WINE_ENV_PULSE_PID" "$WINE_ENV_XVFB_PID"; do
        if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
    WINE_ENV_PULSE_PID=""
    WINE_ENV_XVFB_PID=""
}

# Builds the project and starts the test environment under the build folder; stops it again when
# the calling script exits. Sets root and build_dir for the caller.
wine_env_build_and_start() {
    root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    cd "$root"
    "$root/scripts/build.sh"
    build_dir="$(cd "${BUILD_DIR:-build}" && pwd)"
    trap wine_env_stop EXIT
    wine_env_start "$build_dir/test-env"
}
