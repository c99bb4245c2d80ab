"""The keyboard's media keys reach the player whatever window has the focus: play/pause toggles,
next and previous change the track, stop stops; a later start leaves the keys with the running
player."""
import re
import subprocess

import harness


class MediaKeysTest(harness.PlayerTestCase):
    def start_playing(self):
        first = self.media("first.wav", seconds=60)
        second = self.media("second.wav", seconds=60, frequency=660)
        self.tracks = [harness.windows_path(first), harness.windows_path(second)]
        process = self.start_player(*self.tracks, trace_mci=True)
        harness.wait_until(self.is_playing, message="the first track to play")
        return process

    def press(self, key):
        """A media key as the keyboard sends it. Wine's hot keys see keys that reach the X window
        of its virtual desktop ("shell"), so that window gets the X focus first."""
        found = subprocess.run(["xdotool", "search", "--name", "shell"], capture_output=True, text=True, timeout=10)
        desktops = found.stdout.split()
        self.assertTrue(desktops, "no X window of the Wine desktop 'shell'")
        harness.xdotool("windowfocus", desktops[0])
        harness.xdotool("key", key)

    def sent(self, process, command):
        """How many times the player sent this MCI command string so far."""
        pattern = re.compile(r'mciSendStringW \(L"' + re.escape(command) + '"')
        with open(process.log_path, "rb") as src:
            return sum(1 for raw in src if pattern.search(raw.decode("utf-8", "replace")))

    def toggle_twice(self, process, pauses_before):
        self.press("XF86AudioPlay")
        harness.wait_until(lambda: not self.is_playing(), message="the play/pause key to pause")
        self.assertEqual(pauses_before + 1, self.sent(process, "pause all"))
        self.press("XF86AudioPlay")
        harness.wait_until(self.is_playing, message="the play/pause key to resume")

    def test_play_pause_next_previous_and_stop(self):
        process = self.start_playing()
        self.toggle_twice(process, 0)
        self.assertEqual(1, self.sent(process, "resume all"))

        self.press("XF86AudioNext")
        harness.wait_until(lambda: self.mci_opens(process) == self.tracks and self.is_playing(),
                           timeout=20, message="the next key to play the second track")
        self.press("XF86AudioPrev")
        harness.wait_until(lambda: self.mci_opens(process) == self.tracks + self.tracks[:1] and self.is_playing(),
                           timeout=20, message="the previous key to play the first track again")

        self.press("XF86AudioStop")
        harness.wait_until(lambda: not self.is_playing(), message="the stop key to stop")
        harness.wait_until(lambda: self.sent(process, "seek all to start") == 1, message="the stop to rewind")
        self.assertEqual(1, self.sent(process, "pause all"), "the stop key paused instead")
        self.assertFalse(harness.os.path.exists(self.settings_path), "a key wrote the settings file")
        self.assertEqual(0, self.exit_player(process))

    def test_a_later_start_leaves_the_keys_with_the_running_player(self):
        self.write_settings(MSG_DISPLAY_TYPE=2)
        process = self.start_playing()
        self.assertEqual(0, self.later_start())
        self.assertIsNone(process.poll(), "the running player was disturbed")
        self.toggle_twice(process, 0)
        self.assertEqual(0, self.exit_player(process))


if __name__ == "__main__":
    harness.unittest.main()
