"""Real playback through the platform's MCI drivers and a PulseAudio null sink: an entry with
start and end plays only that span, the real end of a track starts the next, and the end of
the list leaves the first track open and stopped."""
import harness


class PlaybackTest(harness.PlayerTestCase):
    def test_a_span_then_a_whole_track_then_the_list_ends_on_its_first_track(self):
        # Played whole, the first track would take 30 s; its span of one second ends far sooner.
        self.write(self.current_playlist_path, harness.utf16_playlist(
            [(self.media("span.mp3", seconds=30), 2000, 3000), (self.media("after.wav", seconds=2), 0, 0)]))
        process = self.start_player()
        harness.wait_until(lambda: "seek sound to 2000" in self.mci_commands(process), message="the span's start")
        self.assertFalse(self.is_playing())
        self.post(harness.WM_APP_PLAY)
        # Repeat is off: after the last track the first one is opened again and left stopped.
        harness.wait_until(lambda: self.opened_names(process) == ["span.mp3", "after.wav", "span.mp3"]
                           and not self.is_playing(), timeout=30, message="the list to play through once")
        commands = self.mci_commands(process)
        self.assertEqual(["play all to 3000 notify", "play sound to 3000 notify", "play all notify"],
                         [c for c in commands if c.startswith("play ")][:3])
        last_open = max(i for i, command in enumerate(commands) if command.startswith("open "))
        self.assertEqual([], [c for c in commands[last_open:] if c.startswith("play ")], "played on past the end")
        self.assert_no_box("音量変更エラー - Velmoris Player")  # the WAV driver has no volume control
