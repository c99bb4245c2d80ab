"""The running player: a later start hands its files, folder or playlist over and ends, and a
current-playlist file that cannot be written does not lose the list the user gave."""
import os
import time

import harness

WRITE_FAILED = "プレイリストファイルの書き込みに失敗しました。\n（パス：{}）"


class HandOverTest(harness.PlayerTestCase):
    def path(self, name):
        return harness.windows_path(os.path.join(self.work, name))

    def opened_names(self, process):
        return [os.path.basename(p.replace("\\", "/")) for p in self.mci_opens(process)]

    def wait_opened_and_playing(self, process, name):
        harness.wait_until(lambda: self.opened_names(process)[-1:] == [name] and self.is_playing(),
                           timeout=20, message=f"{name} to be open and playing")

    def test_later_start_hands_over_files_a_folder_and_a_playlist(self):
        self.media("playing.mp3", seconds=30)
        player = self.start_player(self.path("playing.mp3"), trace_mci=True)
        self.wait_opened_and_playing(player, "playing.mp3")

        os.mkdir(os.path.join(self.work, "album"))
        self.media(os.path.join("album", "folder-track.mp3"), seconds=30)
        self.media("listed.mp3", seconds=30)
        with open(os.path.join(self.work, "list.tsv"), "wb") as out:
            out.write(harness.utf16_playlist([(self.path("listed.mp3"), 0, 0)]))
        self.media("given.mp3", seconds=30)
        self.media("given-too.mp3", seconds=30)

        cases = (
            ("files", [self.path("given.mp3"), self.path("given-too.mp3")], "given.mp3"),
            ("folder", [self.path("album")], "folder-track.mp3"),
            ("playlist", [self.path("list.tsv")], "listed.mp3"),
        )
        for kind, arguments, first in cases:
            with self.subTest(kind=kind):
                self.wait_list_rests()
                self.assertEqual(0, self.later_start(*arguments))
                self.wait_opened_and_playing(player, first)
                self.assert_no_box("確認 - Velmoris Player", wait=0.5)
                self.assertIsNone(player.poll())
        self.assertEqual(0, self.exit_player(player))

    def test_japanese_file_names_travel_whole(self):
        self.media("始まり.mp3", seconds=30)
        player = self.start_player(self.path("始まり.mp3"), trace_mci=True)
        harness.wait_until(self.is_playing, timeout=20, message="the first track to play")
        self.media("日本語の曲.mp3", seconds=30)
        self.wait_list_rests()
        self.assertEqual(0, self.later_start(self.path("日本語の曲.mp3")))
        harness.wait_until(lambda: harness.read_playlist(self.current_playlist_path)[0][0] == self.path("日本語の曲.mp3")
                           and len(self.mci_opens(player)) == 2 and self.is_playing(),
                           timeout=20, message="the handed-over Japanese name to be saved and playing")
        self.assertEqual(0, self.exit_player(player))

    def test_unwritable_current_playlist_keeps_the_given_list_playing(self):
        # Root is not stopped by read-only files: a folder in the file's place is.
        os.mkdir(self.current_playlist_path)
        self.write_settings(MSG_DISPLAY_TYPE=1)
        self.media("mine.mp3", seconds=30)
        player = self.start_player(self.path("mine.mp3"), trace_mci=True)
        # No tray icon exists yet while the command line is taken: a box even in balloon mode.
        expected = WRITE_FAILED.format(harness.windows_path(self.current_playlist_path))
        self.assertEqual(expected, self.wait_for_box("エラー - Velmoris Player"))
        self.wait_opened_and_playing(player, "mine.mp3")

        self.media("other.mp3", seconds=30)
        later = self.start_player(self.path("other.mp3"), wait=False)
        self.assertEqual(expected, self.wait_for_box("エラー - Velmoris Player"))
        self.assertEqual(0, later.wait(timeout=20))
        time.sleep(1.0)
        self.assertEqual(["mine.mp3"], self.opened_names(player), "the running player took another list")
        self.assertTrue(self.is_playing())
        self.assertEqual(0, self.exit_player(player))

    def test_selection_past_the_end_changes_nothing(self):
        self.media("one.mp3", seconds=30)
        self.media("two.mp3", seconds=30)
        player = self.start_player(self.path("one.mp3"), self.path("two.mp3"), trace_mci=True)
        self.wait_opened_and_playing(player, "one.mp3")
        for shuffle_toggles in (0, 1):
            for _ in range(shuffle_toggles):
                self.command(harness.IDM_SHUFFLE)
            for command_id in (harness.IDM_SELECT_FIRST + 2, harness.IDM_SELECT_FIRST + 60000):
                self.command(command_id)
        self.command(harness.IDM_SHUFFLE)
        time.sleep(0.5)
        self.assertIsNone(player.poll(), "the player ended")
        self.assertEqual(["one.mp3"], self.opened_names(player))
        self.assertTrue(self.is_playing())
        self.assertEqual(0, self.exit_player(player))


if __name__ == "__main__":
    harness.unittest.main()
