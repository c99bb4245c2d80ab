"""Real mouse clicks on the tray icon in the Wine desktop: single click toggles playback after one
double-click time, double click opens the seek window, right click the menu, middle click the
volume dialog."""
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

    def test_double_click_opens_the_seek_window_and_leaves_playback_alone(self):
        process = self.start_playing()
        self.click_icon(repeat=2)
        _, flags = self.window(SEEK_CLASS, SEEK_TITLE)
        self.assertEqual("1", flags["visible"])
        self.assertTrue(harness.stays(self.is_playing, 2 * self.double_click_time + 0.5), "playback changed")
        self.assertEqual(0, self.mci_commands(process, "pause all"))

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

    def test_menu_at_the_cursor_moves_to_the_next_track(self):
        process = self.start_playing()
        self.open_menu()
        self.choose("n")
        harness.wait_until(lambda: self.mci_opens(process) == self.tracks, message="the second track to open")

    def test_menu_settings_repeat_is_stored(self):
        self.start_playing()
        self.open_menu()
        self.choose("o", "r")
        harness.wait_until(lambda: self.read_settings().get("REPEAT") == "1", message="REPEAT=1 in the INI file")

    def test_menu_exit_ends_the_player_with_zero(self):
        process = self.start_playing()
        self.open_menu()
        self.choose("x")
        self.assertEqual(0, process.wait(timeout=20))
        self.assertEqual(0, self.probe("wait-no-player", 5000)[0])

    def test_middle_click_opens_the_volume_dialog_in_front(self):
        self.start_playing()
        self.click_icon(button=2)
        _, flags = self.window("#32770", "音量")
        self.assertEqual("1", flags["visible"])
        self.assertEqual("1", flags["foreground"])


if __name__ == "__main__":
    harness.unittest.main()
