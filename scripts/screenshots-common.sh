# Sourced by each scripts/screenshot-*.sh (run through screenshots.sh): root, a fresh folder of
# its own with a copy of the player in $work, and probe, the end-to-end tests' helper, quiet.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work="$VELMORIS_BUILD_DIR/$(basename "$0" .sh)"
probe() { wine "$VELMORIS_BUILD_DIR/tests/probe.exe" "$@" >/dev/null 2>&1 </dev/null; }
rm -rf "$work"
mkdir -p "$work"
cp "$VELMORIS_BUILD_DIR/player.exe" "$work/player.exe"
# Starts the copy of the player with the given arguments (player: its pid) and waits for it.
start_player() {
    wine "$work/player.exe" "$@" >/dev/null 2>&1 </dev/null &
    player=$!
    probe wait-player 20000
}
# A WAV tone: make_wav PATH SECONDS [FREQUENCY].
make_wav() {
    python3 - "$@" <<'PY'
import math, struct, sys, wave
path, seconds, frequency = sys.argv[1], float(sys.argv[2]), float(sys.argv[3]) if len(sys.argv) > 3 else 440.0
with wave.open(path, "wb") as out:
    out.setnchannels(1); out.setsampwidth(2); out.setframerate(8000)
    out.writeframes(b"".join(struct.pack("<h", int(8000 * math.sin(2 * math.pi * frequency * i / 8000)))
                             for i in range(int(seconds * 8000))))
PY
}
# The seek window over a playing track of 3:45, opened centred on the pointer at (500, 300), after a
# click at x = CLICK_X that seeks to about 1:23, the pointer resting at its middle:
# shoot_seek_window CLICK_X CROP FILE (a geometry for import, a name in docs/).
shoot_seek_window() {
    make_wav "$work/track.wav" 225
    start_player "Z:$work/track.wav"
    sleep 2
    xdotool mousemove 500 300
    probe command 1023
    probe window VELMORIS_PLAYER_SEEK "" 10000
    xdotool mousemove "$1" 300 click 1
    xdotool mousemove 500 300
    sleep 1.5
    import -window root -crop "$2" +repage "$root/docs/$3"
}
