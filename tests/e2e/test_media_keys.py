"""The keyboard's media keys reach the player whatever window has the focus, also after a later
start: play/pause toggles, next and previous change the track, stop stops and rewinds."""
import harness


class MediaKeysTest(harness.PlayerTestCase):
    def test_keys_after_a_later_start(self):
        self.write_settings(MSG_DISPLAY_TYPE=2)
        tracks = [self.media(name, seconds=60) for name in ("first.wav", "second.wav")]
        process = self.start_player(*tracks)
        harness.wait_until(self.is_playing, message="the first track to play")
        self.assertEqual(0, self.later_start())
        settings = self.read_settings()
        # Wine's hot keys see keys that reach the X window of its virtual desktop ("shell").
        desktop = harness.xdotool("search", "--name", "shell").split()[0]
        for key, playing, opened, command in (
                ("XF86AudioPlay", False, tracks[:1], "pause all"),
                ("XF86AudioPlay", True, tracks[:1], "resume all"),
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
