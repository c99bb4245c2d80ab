"""A user's day with the player: a start with a folder, then real clicks, keys and the wheel on the tray icon,
its menu and windows, Help > Readme.txt beside the program in Notepad. The selection submenu of a 200 000-entry list."""
import os
import shutil

import harness

SEEK, ABOUT = (harness.seekWindowClassName, "シーク - Velmoris Player"), ("#32770", "バージョン情報")
TRACK_MS = 40000


class JourneyTest(harness.PlayerTestCase):
    def test_a_day_with_the_player(self):
        tracks = [self.media(os.path.join("music", name), TRACK_MS / 1000, frequency) for name, frequency in
                  (("morning.wav", 440), ("noon.mp3", 550), ("evening.wav", 660))]
        shutil.copy(os.path.join(harness.ROOT, "package", "Readme.txt"), os.path.join(self.work, "Readme.txt"))
        process = self.start_player(self.path("music"))

        # Playing the folder, hidden.
        harness.wait_until(lambda: "play all notify" in self.mci_commands(process), 30, "the folder to play")
        listed = [path for path, _, _ in harness.read_playlist(self.current_playlist_path)]
        order = [os.path.basename(path.replace("\\", "/")) for path in listed]
        self.assertEqual(sorted(tracks), sorted(listed))
        self.assertEqual(order[:1], self.opened_names(process))
        self.assertEqual("0", self.window(harness.mainWindowClassName, harness.programTitle)[1]["visible"])

        # Right click at the icon: the menu opens at the cursor; Next.
        left, top, right, bottom = self.open_menu()
        near = left - 20 <= harness.ICON_X <= right + 20 and top - 20 <= harness.ICON_Y <= bottom + 20
        self.assertTrue(near, f"menu at {left},{top}-{right},{bottom}")
        self.choose("n")
        harness.wait_until(lambda: self.opened_names(process) == order[:2] and self.mci_commands(process).count(
            "play all notify") >= 2, message="the second track to play")

        # Double click: the seek window; a click at three quarters seeks there and playback goes on.
        self.click_icon(repeat=2)
        left, top, right, bottom = self.shown(*SEEK)[0]
        clicked_at = len(self.mci_commands(process))
        x = left + (right - left) * 3 // 4
        harness.xdotool("mousemove", x, (top + bottom) // 2, "click", 1)
        expected = (x - left) * TRACK_MS // (right - left)
        harness.wait_until(lambda: any(abs(int(c.split()[-1]) - expected) <= TRACK_MS // 100 for c in self.mci_commands(
            process)[clicked_at:] if c.startswith("seek sound to ")), message=f"a seek to about {expected} ms")
        harness.xdotool("mousemove", 100, 600, "click", 1)
        self.wait_gone(*SEEK)
        seeked = len(self.opened_names(process))

        # The wheel over the icon: two notches down and one up; a notch away from it changes nothing.
        volume = lambda: self.read_settings().get("VOLUME")  # noqa: E731

        def notch_counts():  # a notch turned before the icon has seen the pointer come reaches nothing
            harness.xdotool("mousemove", 512, 350, "mousemove", harness.ICON_X, harness.ICON_Y, "click", 5)
            return not harness.stays(lambda: volume() in (None, "1000"), 3.0)  # no settings file yet: 1000
        harness.wait_until(notch_counts, 30, "a notch of the wheel over the icon to count")
        # Then a middle click there: the volume slider in front, once, and no pause or play.
        sent = len(self.mci_commands(process))
        harness.xdotool("click", 5, "click", 4, "click", 2)
        left, top, right, bottom = self.shown("#32770", "音量", "foreground")[0]
        self.assertTrue(harness.stays(lambda: self.window("#32770", "音量")[1]["count"] == "1", 1.0))
        self.assertEqual([], [c for c in self.mci_commands(process)[sent:] if c.split()[0] in ("pause", "play")])
        self.assertIn("setaudio sound volume to 900", self.mci_commands(process))
        # The pointer still rests on the icon, under the slider: a notch away from it changes nothing, Page Down
        # on the slider turns the volume down.
        harness.xdotool("mousemove", 512, 350, "click", 5)
        self.assertTrue(harness.stays(lambda: volume() == "950", 1.0), "not 950, or a notch away from the icon counted")
        harness.xdotool("windowfocus", harness.root_window(), "mousemove", (left + right) // 2, (top + bottom) // 2,
                        "key", "Next")
        harness.wait_until(lambda: volume() == "850" and "setaudio sound volume to 850" in self.mci_commands(process),
                           message="VOLUME=850, and the sound at 850")
        harness.xdotool("mousemove", 100, 600, "click", 1)
        self.wait_gone("#32770", "音量")

        # The track ends by itself and the next one plays.
        harness.wait_until(lambda: len(self.opened_names(process)) > seeked, TRACK_MS / 1000, "the sought one's next")
        last_open = max(i for i, c in enumerate(self.mci_commands(process)) if c.startswith("open "))
        harness.wait_until(lambda: "play all notify" in self.mci_commands(process)[last_open:], 30, "the next to play")

        # About: centred across the desktop; Escape leaves it open, Enter closes it.
        self.open_menu()
        self.choose("h", "a")
        left, top, right, bottom = self.shown(*ABOUT)[0]
        self.assertLessEqual(abs(left + right - 1024), 2, f"About at {left}..{right}")
        harness.xdotool("mousemove", (left + right) // 2, top + 10, "key", "Escape")
        self.assertTrue(harness.stays(lambda: self.probe("window", *ABOUT, 0)[0] == 0, 1.0))
        harness.xdotool("key", "Return")
        self.wait_gone(*ABOUT)
        # Help > Readme.txt in Notepad, in front: the desktop's X window's keys reach it.
        self.open_menu()
        self.choose("h", "h")
        self.shown("Notepad", "Readme.txt - Notepad", timeout=30)
        harness.xdotool("key", "alt+F4")
        self.wait_gone("Notepad", "Readme.txt - Notepad")

        # Exit: code 0, the settings and the folder's list stay beside the program.
        self.open_menu()
        self.choose("x")
        self.assertEqual(0, process.wait(timeout=30))
        self.assertNotIn("pause all", self.mci_commands(process), "a click paused playback")
        self.assertEqual({"REPEAT": "0", "SHUFFLE": "0", "BALLOON": "0", "MSG_DISPLAY_TYPE": "0", "SORT": "0",
                          "FULL_PATH": "0", "SORT_LIST": "0", "VOLUME": "850"}, self.read_settings())
        self.assertEqual([(path, 0, 0) for path in listed], harness.read_playlist(self.current_playlist_path))

    def test_selection_from_a_long_list_plays_the_chosen_track(self):
        tracks = [self.media(f"{name}.wav", seconds=60, frequency=300 + 100 * i) for i, name in enumerate("abc")]
        self.write(self.current_playlist_path, harness.utf16_playlist((tracks[i % 3], 0, 0) for i in range(200000)))
        process = self.start_player(wait=60)
        self.command(harness.IDM_PLAY)
        harness.wait_until(self.is_playing, message="the first track to play")
        self.open_menu()
        self.choose("e", "Down")  # the submenu opens on the current position 0
        harness.xdotool("key", "Down", "Return")
        harness.wait_until(lambda: self.mci_opens(process)[1:] == [tracks[2]] and self.is_playing(),
                           message="position 2 to open and play")
