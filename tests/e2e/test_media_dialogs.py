"""The open-files dialog and the folder browser, driven for real inside the running player:
a cancelled dialog changes nothing, the chosen filter comes back at the next opening, the
chosen tracks become the current playlist on disk and the first one plays."""
import os
import shutil
import subprocess

import harness

OPEN_FILES = "音声ファイルを開く（複数可）"
OPEN_FOLDER = "フォルダーを開く"
FILE_NAME_BOX = 0x47C
FILTER_BOX = 0x470
CB_GETCURSEL = 0x147
MUSIC_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders"


class MediaDialogsTest(harness.PlayerTestCase):
    def assert_list_plays(self, process, paths):
        """The current playlist holds these files (as Windows compares paths) and its first entry
        is open and playing."""
        expected = sorted(harness.windows_path(path).lower() for path in paths)
        harness.wait_until(lambda: os.path.exists(self.current_playlist_path) and expected == sorted(
            path.lower() for path, _, _ in harness.read_playlist(self.current_playlist_path)),
            timeout=20, message=f"the current playlist to hold {expected}")
        harness.wait_until(self.is_playing, timeout=20, message="playback of the new list")
        first = harness.read_playlist(self.current_playlist_path)[0][0]
        self.assertEqual(first.lower(), self.mci_opens(process)[-1].lower())

    def music_folder(self, path):
        """Points the user's music folder at a path."""
        subprocess.run(["wine", "reg", "add", MUSIC_KEY, "/v", "My Music", "/t", "REG_EXPAND_SZ", "/d", path, "/f"],
                       check=True, timeout=60, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def filter_selection(self):
        return int(self.probe_ok("no filter box", "dialog-send", OPEN_FILES, FILTER_BOX, CB_GETCURSEL, 0, 0))

    def test_open_files_dialog(self):
        for name in ("a.mp3", "b.mp3", "only.mp3"):
            self.media(name, seconds=4)
        process = self.start_player(trace_mci=True)
        self.addCleanup(self.probe, "dialog-cancel", OPEN_FILES, 0)
        self.command(harness.IDM_OPEN_FILES)
        self.assertEqual(0, self.filter_selection(), "the first opening does not start on the MP3 filter")
        self.assertEqual(0, self.probe("dialog-choose", OPEN_FILES, FILTER_BOX, 4)[0], "could not choose *.*")
        self.probe("dialog-cancel", OPEN_FILES, 10000)
        self.assertEqual(0, self.probe("dialog-gone", OPEN_FILES, 10000)[0], "the dialog stayed open")
        self.assertEqual([], self.mci_opens(process), "a cancelled dialog opened a track")

        # Two names as a user types them, and one, which the dialog returns in another form.
        for typed, names in (('"a.mp3" "b.mp3"', ["a.mp3", "b.mp3"]), ("only.mp3", ["only.mp3"])):
            self.command(harness.IDM_OPEN_FILES)
            self.assertEqual(4, self.filter_selection(), "the all-files filter was not kept")
            # Into the test's folder first, then the names.
            self.set_dialog_text(OPEN_FILES, FILE_NAME_BOX, harness.windows_path(self.work))
            self.press_dialog_ok(OPEN_FILES)
            self.set_dialog_text(OPEN_FILES, FILE_NAME_BOX, typed)
            self.press_dialog_ok(OPEN_FILES)
            self.assert_list_plays(process, [os.path.join(self.work, name) for name in names])

    def test_folder_browser_starts_at_the_music_folder_and_plays_its_tracks(self):
        # On its way to the starting folder the browser reads every folder beside each folder of
        # the path, and those beside a test's folder are all earlier tests' folders, more with
        # every run: the music folder lies where its path has a few neighbours only.
        music = os.path.join(os.path.dirname(self.work), "..", "e2e-music")
        shutil.rmtree(music, ignore_errors=True)
        os.makedirs(os.path.join(music, "inner"))
        tracks = [harness.make_mp3(os.path.join(music, "c.mp3"), 4), harness.make_wav(os.path.join(music, "d.wav"), 4)]
        harness.make_wav(os.path.join(music, "inner", "e.wav"))
        with open(os.path.join(music, "notes.txt"), "w") as out:
            out.write("not audio")
        self.music_folder(harness.windows_path(music))
        self.addCleanup(self.music_folder, r"%USERPROFILE%\Music")
        process = self.start_player(trace_mci=True)
        self.addCleanup(self.probe, "dialog-cancel", OPEN_FOLDER, 0)
        self.command(harness.IDM_OPEN_FOLDER)
        self.assertEqual(0, self.probe("dialog-cancel", OPEN_FOLDER, 10000)[0], "the folder browser did not appear")
        self.assertEqual(0, self.probe("dialog-gone", OPEN_FOLDER, 10000)[0], "the folder browser stayed open")
        self.assertFalse(os.path.exists(self.current_playlist_path), "a cancelled dialog wrote a playlist")

        self.command(harness.IDM_OPEN_FOLDER)
        code, _ = self.probe("dialog-tree-chosen", OPEN_FOLDER, 30000, timeout=60)
        self.assertEqual(0, code, "the folder browser chose no starting folder")
        self.press_dialog_ok(OPEN_FOLDER)
        self.assert_list_plays(process, tracks)

