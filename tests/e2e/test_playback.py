"""Real playback through the platform's MCI drivers and a PulseAudio null sink: an entry with
start and end plays only that span, the real end of a track starts the next, and the end of
the list leaves the first track open and stopped."""
import harness


class PlaybackTest(harness.PlayerTestCase):
    def test_a_span_then_a_whole_track_then_the_list_ends_on_its_first_track(self):
        # Played whole, the first track would take 30 s; its span of one second ends far sooner.
        self.media("span.mp3", seconds=30)
        self.media("after.wav", seconds=2)
        self.write_current_playlist([(self.path("span.mp3"), 2000, 3000), (self.path("after.wav"), 0, 0)])
        process = self.start_player(trace_mci=True)
        harness.wait_until(lambda: "seek sound to 2000" in self.mci_commands(process), message="the span's start")
        self.assertFalse(self.is_playing())

        self.post(harness.WM_APP_PLAY)
        # Repeat is off: after the last track the first one is opened again and left stopped.
        harness.wait_until(lambda: self.opened_names(process) == ["span.mp3", "after.wav", "span.mp3"]
                           and not self.is_playing(), timeout=30, message="the list to play through once")
        commands = self.mci_commands(process)
        plays = [c for c in commands if c.startswith("play ")]
        self.assertEqual(["play all to 3000 notify", "play sound to 3000 notify", "play all notify"], plays[:3])
        last_open = max(i for i, command in enumerate(commands) if command.startswith("open "))
        self.assertEqual([], [c for c in commands[last_open:] if c.startswith("play ")],
                         "the list played on past its end")
        # The WAV driver has no volume control: no report about it.
        self.assert_no_box("音量変更エラー - Velmoris Player")
        self.assertEqual(0, self.exit_player(process))

