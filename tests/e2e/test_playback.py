"""Real playback through the platform's MCI drivers: an entry's span, the real end of a track, the end
of the list leaving the first track open and stopped; media keys whatever window has the focus."""
import harness


class PlaybackTest(harness.PlayerTestCase):
    def test_a_span_then_a_whole_track_then_the_list_ends_on_its_first_track(self):
        # Played whole, the first track would take 30 s; its span of one second ends far sooner.
        self.write(self.current_playlist_path, harness.utf16_playlist(
            [(self.media("span.mp3", seconds=30), 2000, 3000), (self.media("after.wav", seconds=2), 0, 0)]))
        process = self.start_player()
        harness.wait_until(lambda: "seek sound to 2000" in self.mci_commands(process), message="the span's start")
        self.assertFalse(self.is_playing())
        self.command(harness.IDM_PLAY)
        # Repeat is off: after the last track the first one is opened again and left stopped.
        harness.wait_until(lambda: self.opened_names(process) == ["span.mp3", "after.wav", "span.mp3"]
                           and not self.is_playing(), timeout=30, message="the list to play through once")
        commands = self.mci_commands(process)
        self.assertEqual(["play all to 3000 notify", "play sound to 3000 notify", "play all notify"],
                         [c for c in commands if c.startswith("play ")][:3])
        last_open = max(i for i, command in enumerate(commands) if command.startswith("open "))
        self.assertEqual([], [c for c in commands[last_open:] if c.startswith("play ")], "played on past the end")
        self.assert_no_box("音量変更エラー - Velmoris Player")  # the WAV driver has no volume control

    def test_a_wav_plays_until_a_click_on_the_icon(self):  # the 32-bit player's test too (tests/CMakeLists.txt)
        self.start_player(self.media("tone.wav", seconds=60))
        harness.wait_until(self.is_playing, message="tone.wav to play")
        self.click_icon()
        harness.wait_until(lambda: not self.is_playing(), message="a click on the tray icon to pause")

    def test_media_keys_after_a_later_start(self):
        self.write_settings(MSG_DISPLAY_TYPE=2)
        tracks = [self.media(name, seconds=60) for name in ("first.wav", "second.wav")]
        process = self.start_player(*tracks)
        harness.wait_until(self.is_playing, message="the first track to play")
        self.assertEqual(0, self.start_player(wait=0).wait(30))
        settings = self.read_settings()
        # Wine's hot keys see keys that reach the X window of its virtual desktop ("shell").
        desktop = harness.xdotool("search", "--name", "shell").split()[0]
        for key, playing, opened, command in (
                ("XF86AudioPlay", False, tracks[:1], "pause all"), ("XF86AudioPlay", True, tracks[:1], "resume all"),
                ("XF86AudioNext", True, tracks, "play all notify"),
                ("XF86AudioPrev", True, tracks + tracks[:1], "play all notify"),
                ("XF86AudioStop", False, tracks + tracks[:1], "seek all to start")):
            count = self.mci_commands(process).count(command)
            harness.xdotool("windowfocus", desktop, "key", key)
            harness.wait_until(lambda: self.mci_commands(process).count(command) == count + 1
                               and self.mci_opens(process) == opened and self.is_playing() == playing,
                               message=f"{key}: {command}, playing={playing}, opened {opened}")
        self.assertEqual(1, self.mci_commands(process).count("pause all"), "the stop key paused instead")
        self.assertEqual(settings, self.read_settings(), "a key wrote the settings file")
