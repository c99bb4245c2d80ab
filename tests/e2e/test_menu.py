"""The tray menu where it reaches past the player: a selection submenu of a 200 000-entry list
opens and its chosen track plays; Help > Readme.txt beside the program opens in Notepad."""
import os
import shutil

import harness


class MenuTest(harness.PlayerTestCase):
    def test_selection_from_a_long_list_plays_the_chosen_track(self):
        tracks = [harness.windows_path(self.media(f"{name}.wav", seconds=60, frequency=300 + 100 * i))
                  for i, name in enumerate(("a", "b", "c"))]
        self.write_current_playlist((tracks[i % 3], 0, 0) for i in range(200000))
        process = self.start_player(trace_mci=True, wait=False)
        self.wait_for_player(timeout=60)
        self.post(harness.WM_APP_PLAY)
        harness.wait_until(self.is_playing, message="the first track to play")
        self.open_menu()
        # The submenu opens with its first item, the current position 0, highlighted.
        self.choose("e")
        harness.wait_until(lambda: self.open_menus() >= 2, message="the selection submenu")
        harness.xdotool("key", "Down", "Down", "Return")
        harness.wait_until(lambda: self.mci_opens(process)[1:] == [tracks[2]] and self.is_playing(),
                           message="position 2 to open and play")

    def test_help_readme_opens_it_in_notepad(self):
        shutil.copy(os.path.join(harness.ROOT, "package", "Readme.txt"), os.path.join(self.work, "Readme.txt"))
        self.start_player()
        self.open_menu()
        self.choose("h", "h")
        self.assertEqual("1", self.window("Notepad", "Readme.txt - Notepad", timeout=30)[1]["visible"])
        # Notepad is in front: the keys of the desktop's X window reach it.
        harness.xdotool("key", "alt+F4")
        harness.wait_until(lambda: self.probe("window", "Notepad", "Readme.txt - Notepad", 0)[0] != 0,
                           timeout=20, message="Notepad to close")
