"""The running player: a later start hands its files (Japanese names whole), folder or playlist
over and ends, and a current-playlist file that cannot be written does not lose the list the
user gave."""
import os

import harness

WRITE_FAILED = "プレイリストファイルの書き込みに失敗しました。\n（パス：{}）"


class HandOverTest(harness.PlayerTestCase):
    def test_later_start_hands_over_files_a_folder_and_a_playlist(self):
        player = self.start_player(harness.windows_path(self.media("playing.mp3", seconds=30)), trace_mci=True)
        harness.wait_until(self.is_playing, timeout=20, message="the first track to play")
        os.mkdir(os.path.join(self.work, "album"))
        self.media(os.path.join("album", "folder-track.mp3"), seconds=30)
        self.media("listed.mp3", seconds=30)
        with open(os.path.join(self.work, "list.tsv"), "wb") as out:
            out.write(harness.utf16_playlist([(self.path("listed.mp3"), 0, 0)]))
        for name in ("日本語の曲.mp3", "二曲目.mp3"):
            self.media(name, seconds=30)

        for arguments, first in (
                (["日本語の曲.mp3", "二曲目.mp3"], "日本語の曲.mp3"),
                (["album"], os.path.join("album", "folder-track.mp3")),
                (["list.tsv"], "listed.mp3")):
            with self.subTest(arguments=arguments):
                self.wait_list_rests()
                self.assertEqual(0, self.later_start(*map(self.path, arguments)))
                harness.wait_until(lambda: harness.read_playlist(self.current_playlist_path)[0][0] == self.path(first)
                                   and self.mci_opens(player)[-1] == self.path(first) and self.is_playing(),
                                   timeout=20, message=f"{first} to be the saved list's first entry and playing")
                self.assert_no_box("確認 - Velmoris Player", wait=0.5)
        self.assertEqual(0, self.exit_player(player))

    def test_unwritable_current_playlist_keeps_the_given_list_playing(self):
        # Root is not stopped by read-only files: a folder in the file's place is.
        os.mkdir(self.current_playlist_path)
        self.write_settings(MSG_DISPLAY_TYPE=1)
        player = self.start_player(harness.windows_path(self.media("mine.mp3", seconds=30)), trace_mci=True)
        # No tray icon exists yet while the command line is taken: a box even in balloon mode.
        expected = WRITE_FAILED.format(harness.windows_path(self.current_playlist_path))
        self.assertEqual(expected, self.wait_for_box("エラー - Velmoris Player"))
        harness.wait_until(self.is_playing, timeout=20, message="mine.mp3 to play")

        later = self.start_player(harness.windows_path(self.media("other.mp3")), wait=False)
        self.assertEqual(expected, self.wait_for_box("エラー - Velmoris Player"))
        self.assertEqual(0, later.wait(timeout=20))
        self.assertTrue(harness.stays(lambda: self.opened_names(player) == ["mine.mp3"], 1.0),
                        "the running player took another list")
        self.assertTrue(self.is_playing())
        self.assertEqual(0, self.exit_player(player))

