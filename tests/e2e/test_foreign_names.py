"""Names outside the ANSI code page: the WAV and MIDI drivers take the file by its ANSI name, so
the player opens such a file by its short name, and the list keeps the long one."""
import os
import struct

import harness

LOAD_ERROR = "音声ファイルの読み込みエラー - Velmoris Player"


def make_midi(path):
    """One middle C of a quarter note: a format-0 standard MIDI file."""
    events = bytes([0x00, 0x90, 60, 64, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00])
    with open(path, "wb") as out:
        out.write(b"MThd" + struct.pack(">IHHH", 6, 0, 1, 96) + b"MTrk" + struct.pack(">I", len(events)) + events)
    return path


class ForeignNamesTest(harness.PlayerTestCase):
    def test_japanese_named_wav_plays_and_midi_opens(self):
        os.mkdir(os.path.join(self.work, "曲集"))
        wav = harness.windows_path(self.media(os.path.join("曲集", "曲 1.wav"), seconds=30))
        midi = harness.windows_path(make_midi(os.path.join(self.work, "曲集", "旋律.mid")))
        player = self.start_player(midi, trace_mci=True)
        harness.wait_until(lambda: len(self.mci_opens(player)) == 1, timeout=20, message="the MIDI file to be opened")
        self.assert_no_box(LOAD_ERROR)
        self.wait_list_rests()

        self.assertEqual(0, self.later_start(wav))
        harness.wait_until(lambda: len(self.mci_opens(player)) == 2 and self.is_playing(), timeout=20,
                           message="the Japanese-named WAV to play")
        for opened in self.mci_opens(player):
            self.assertTrue(opened.isascii(), f"opened by its long name: {opened}")
        self.assertEqual([(wav, 0, 0)], harness.read_playlist(self.current_playlist_path))
        self.assertEqual(0, self.exit_player(player))


if __name__ == "__main__":
    harness.unittest.main()
