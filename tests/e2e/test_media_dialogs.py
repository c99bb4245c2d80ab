"""The open-files dialog and the folder browser, driven for real inside the running player:
the chosen tracks become the current playlist on disk and the first one plays."""
import os

import harness

OPEN_FILES_TITLE = "音声ファイルを開く（複数可）"
OPEN_FOLDER_TITLE = "フォルダーを開く"
FILE_NAME_BOX = 0x47C
FILTER_BOX = 0x470
CB_GETCURSEL = 0x147


def folded(entries):
    """Paths compared as Windows compares them; start and end as they are."""
    return sorted((path.lower(), start, end) for path, start, end in entries)


class MediaDialogsTest(harness.PlayerTestCase):
    def wait_for_current_playlist(self, expected_paths, what):
        expected = folded((path, 0, 0) for path in expected_paths)

        def written():
            if not os.path.exists(self.current_playlist_path):
                return None
            entries = harness.read_playlist(self.current_playlist_path)
            return entries if folded(entries) == expected else None

        return harness.wait_until(written, timeout=20, message=f"the current playlist to hold {what}")

    def assert_plays_first_entry(self, process, entries):
        harness.wait_until(self.is_playing, timeout=20, message="playback of the new list")
        opened = self.mci_opens(process)
        self.assertTrue(opened, "no track was opened")
        self.assertEqual(entries[0][0].lower(), opened[-1].lower(), "the first entry of the new list is not open")

    def test_open_files_dialog_takes_both_typed_names_and_plays(self):
        self.media("a.mp3", seconds=4)
        self.media("b.mp3", seconds=4, frequency=660)
        process = self.start_player(trace_mci=True)
        self.addCleanup(self.probe, "dialog-cancel", OPEN_FILES_TITLE, 0)

        self.command(harness.IDM_OPEN_FILES)
        # Into the test's folder first, then the two names as a user types them.
        self.set_dialog_text(OPEN_FILES_TITLE, FILE_NAME_BOX, harness.windows_path(self.work))
        self.press_dialog_ok(OPEN_FILES_TITLE)
        self.set_dialog_text(OPEN_FILES_TITLE, FILE_NAME_BOX, '"a.mp3" "b.mp3"')
        self.press_dialog_ok(OPEN_FILES_TITLE)

        folder = harness.windows_path(self.work)
        entries = self.wait_for_current_playlist([folder + "\\a.mp3", folder + "\\b.mp3"], "a.mp3 and b.mp3")
        self.assert_plays_first_entry(process, entries)

    def test_one_typed_name_gives_a_one_entry_list(self):
        self.media("only.mp3", seconds=4)
        self.media("other.mp3")
        process = self.start_player(trace_mci=True)
        self.addCleanup(self.probe, "dialog-cancel", OPEN_FILES_TITLE, 0)

        self.command(harness.IDM_OPEN_FILES)
        self.set_dialog_text(OPEN_FILES_TITLE, FILE_NAME_BOX, harness.windows_path(self.work))
        self.press_dialog_ok(OPEN_FILES_TITLE)
        self.set_dialog_text(OPEN_FILES_TITLE, FILE_NAME_BOX, "only.mp3")
        self.press_dialog_ok(OPEN_FILES_TITLE)

        only = harness.windows_path(os.path.join(self.work, "only.mp3"))
        entries = self.wait_for_current_playlist([only], "only.mp3")
        self.assert_plays_first_entry(process, entries)

    def filter_selection(self):
        code, text = self.probe("dialog-send", OPEN_FILES_TITLE, FILTER_BOX, CB_GETCURSEL, 0, 0)
        self.assertEqual(0, code, "the open-files dialog or its filter box is missing")
        return int(text)

    def test_chosen_filter_comes_back_at_the_next_opening_even_after_cancel(self):
        self.start_player()
        self.addCleanup(self.probe, "dialog-cancel", OPEN_FILES_TITLE, 0)
        self.command(harness.IDM_OPEN_FILES)
        self.assertEqual(0, self.filter_selection(), "the first opening does not start on the MP3 filter")
        self.assertEqual(0, self.probe("dialog-choose", OPEN_FILES_TITLE, FILTER_BOX, 4)[0], "could not choose *.*")
        self.assertEqual(0, self.probe("dialog-cancel", OPEN_FILES_TITLE, 10000)[0])
        self.assertEqual(0, self.probe("dialog-gone", OPEN_FILES_TITLE, 10000)[0], "the dialog stayed open")

        self.command(harness.IDM_OPEN_FILES)
        self.assertEqual(4, self.filter_selection(), "the all-files filter was not kept")

    def test_folder_browser_starts_at_the_music_folder_and_plays_its_tracks(self):
        music = os.path.join(self.work, "music")
        os.makedirs(os.path.join(music, "inner"))
        harness.make_mp3(os.path.join(music, "c.mp3"), seconds=4)
        harness.make_wav(os.path.join(music, "d.wav"), seconds=4)
        harness.make_wav(os.path.join(music, "inner", "e.wav"))
        with open(os.path.join(music, "notes.txt"), "w") as out:
            out.write("not audio")
        # The user's music folder, for this test only.
        code, previous = self.probe("music-folder", harness.windows_path(music))
        self.assertEqual(0, code, "could not point the user's music folder at the test's folder")
        self.addCleanup(self.probe, "music-folder", previous)
        process = self.start_player(trace_mci=True)
        self.addCleanup(self.probe, "dialog-cancel", OPEN_FOLDER_TITLE, 0)

        self.command(harness.IDM_OPEN_FOLDER)
        code, _ = self.probe("dialog-tree-chosen", OPEN_FOLDER_TITLE, 30000, timeout=60)
        self.assertEqual(0, code, "the folder browser chose no starting folder")
        self.press_dialog_ok(OPEN_FOLDER_TITLE)

        folder = harness.windows_path(music)
        entries = self.wait_for_current_playlist([folder + "\\c.mp3", folder + "\\d.wav"], "c.mp3 and d.wav")
        self.assert_plays_first_entry(process, entries)

    def test_cancelled_dialogs_change_nothing(self):
        self.media("kept.wav", seconds=4)
        kept = [(harness.windows_path(os.path.join(self.work, "kept.wav")), 0, 0)]
        with open(self.current_playlist_path, "wb") as out:
            out.write(harness.utf16_playlist(kept))
        process = self.start_player(trace_mci=True)
        harness.wait_until(lambda: self.mci_opens(process), message="the saved list's track to open")
        for command, title in ((harness.IDM_OPEN_FILES, OPEN_FILES_TITLE), (harness.IDM_OPEN_FOLDER, OPEN_FOLDER_TITLE)):
            self.command(command)
            code, _ = self.probe("dialog-cancel", title, 10000, timeout=30)
            self.assertEqual(0, code, f"the dialog '{title}' did not appear")
            self.assertEqual(0, self.probe("dialog-gone", title, 10000, timeout=30)[0], f"'{title}' stayed open")
        self.assertEqual(kept, harness.read_playlist(self.current_playlist_path))
        self.assertEqual(1, len(self.mci_opens(process)), "a cancelled dialog opened a track")
        self.assertFalse(self.is_playing())


if __name__ == "__main__":
    harness.unittest.main()
