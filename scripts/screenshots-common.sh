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
