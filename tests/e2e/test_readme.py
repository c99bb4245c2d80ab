"""Help > Readme.txt in a folder laid out as the download is (the program and Readme.txt side by
side): the shell opens it in Notepad."""
import os
import shutil

import harness


class ReadmeTest(harness.PlayerTestCase):
    def test_help_readme_opens_it_in_notepad(self):
        shutil.copy(os.path.join(harness.ROOT, "package", "Readme.txt"), os.path.join(self.work, "Readme.txt"))
        self.start_player()
        self.open_menu()
        self.choose("h", "h")
        _, flags = self.window("Notepad", "Readme.txt - Notepad", timeout=30)
        self.assertEqual("1", flags["visible"])
        # Notepad is in front: the keys of the desktop's X window reach it.
        harness.xdotool("key", "alt+F4")
        harness.wait_until(lambda: self.probe("window", "Notepad", "Readme.txt - Notepad", 0)[0] != 0,
                           timeout=20, message="Notepad to close")

