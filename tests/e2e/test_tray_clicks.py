"""Real mouse clicks on the tray icon in the Wine desktop: a single click toggles playback after one
double-click time, and a click after a double click toggles only once. (The double, right and
middle clicks are walked through in test_journey.)"""
import re
import time

import harness

SEEK_CLASS = "VELMORIS_PLAYER_SEEK"
SEEK_TITLE = "シーク - Velmoris Player"
WM_LBUTTONUP = 0x0202


class TrayClicksTest(harness.PlayerTestCase):
    def setUp(self):
        super().setUp()
        code, text = self.probe("double-click-time")
        self.assertEqual(0, code, "the probe could not read the double-click time")
        self.double_click_time = int(text) / 1000.0

    def start_playing(self):
        first = self.media("first.wav", seconds=60)
        second = self.media("second.wav", seconds=60, frequency=660)
        self.tracks = [harness.windows_path(first), harness.windows_path(second)]
        process = self.start_player(*self.tracks, trace_mci=True)
        harness.wait_until(self.is_playing, message="the first track to play")
        return process

    def mci_commands(self, process, command):
        """How many times the player sent this MCI command string so far."""
        pattern = re.compile(r'mciSendStringW \(L"' + re.escape(command) + '"')
        with open(process.log_path, "rb") as src:
            return sum(1 for raw in src if pattern.search(raw.decode("utf-8", "replace")))

    def test_single_click_pauses_and_the_next_one_resumes(self):
        process = self.start_playing()
        self.click_icon()
        harness.wait_until(lambda: not self.is_playing(), message="the click to pause")
        self.assertEqual(1, self.mci_commands(process, "pause all"))

        time.sleep(self.double_click_time + 0.2)
        self.click_icon()
        harness.wait_until(self.is_playing, message="the click to resume")
        self.assertEqual(1, self.mci_commands(process, "resume all"))

    def test_a_third_click_after_one_double_click_time_toggles_once(self):
        # The seek window that the double click opens lies over the icon (it is centred on the
        # cursor), so a real third click would land on it; the third button-up is delivered as
        # the shell delivers the icon's mouse messages.
        process = self.start_playing()
        started = time.monotonic()
        self.click_icon(repeat=2)
        self.window(SEEK_CLASS, SEEK_TITLE)
        time.sleep(max(0.0, started + self.double_click_time + 0.2 - time.monotonic()))
        self.post(harness.WM_APP_TRAY, 1, WM_LBUTTONUP)
        harness.wait_until(lambda: not self.is_playing(), message="the third click to pause")
        self.assertTrue(harness.stays(lambda: not self.is_playing(), 2 * self.double_click_time + 0.5),
                        "playback toggled more than once")
        self.assertEqual(1, self.mci_commands(process, "pause all"))


if __name__ == "__main__":
    harness.unittest.main()
