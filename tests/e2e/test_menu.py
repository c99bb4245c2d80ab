"""The tray menu where it reaches past the player: a selection submenu of a 200 000-entry list
opens and its chosen track plays; Help > Readme.txt beside the program opens in Notepad."""
import os
import shutil

import harness


class MenuTest(harness.PlayerTestCase):
    def test_selection_from_a_long_list_plays_the_chosen_track(self):
        tracks = [self.media(f"{name}.wav", seconds=60, frequency=300 + 100 * i) for i, name in enumerate("abc")]
        self.write(self.current_playlist_path, harness.utf16_playlist((tracks[i % 3], 0, 0) for i in range(200000)))
        process = self.start_player(wait=60)
        self.post(harness.WM_APP_PLAY)
        harness.wait_until(self.is_playing, message="the first track to play")
        self.open_menu()
        self.choose("e", "Down")  # the submenu opens on the current position 0
        harness.xdotool("key", "Down", "Return")
        harness.wait_until(lambda: self.mci_opens(process)[1:] == [tracks[2]] and self.is_playing(),
                           message="position 2 to open and play")

    def test_help_readme_opens_it_in_notepad(self):
        shutil.copy(os.path.join(harness.ROOT, "package", "Readme.txt"), os.path.join(self.work, "Readme.txt"))
        self.start_player()
        self.open_menu()
        self.choose("h", "h")
        self.assertEqual("1", self.window("Notepad", "Readme.txt - Notepad", timeout=30)[1]["visible"])
        harness.xdotool("key", "alt+F4")  # Notepad is in front: the desktop's X window's keys reach it
        self.wait_gone("Notepad", "Readme.txt - Notepad")
