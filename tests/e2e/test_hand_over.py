"""The running player: a later start hands its files (Japanese names whole), folder or playlist
over and ends, and a current-playlist file that cannot be written does not lose the list the
user gave. Names outside the ANSI code page play: the WAV driver takes the file by its short name."""
import os

import harness

WRITE_FAILED = "プレイリストファイルの書き込みに失敗しました。\n（パス：{}）"


class HandOverTest(harness.PlayerTestCase):
    def test_later_start_hands_over_files_a_folder_and_a_playlist(self):
        japanese = self.media(os.path.join("曲集", "曲 1.wav"), seconds=30)
        player = self.start_player(japanese)
        harness.wait_until(lambda: self.is_playing() and self.mci_opens(player)[0].isascii() and
                           harness.read_playlist(self.current_playlist_path) == [(japanese, 0, 0)],
                           message="the Japanese-named WAV to play by its short name, listed by its own")
        self.media(os.path.join("album", "folder-track.mp3"), seconds=30)
        self.write("list.tsv", harness.utf16_playlist([(self.media("listed.mp3", seconds=30), 0, 0)]))
        for name in ("日本語の曲.mp3", "二曲目.mp3"):
            self.media(name, seconds=30)

        for arguments, first in ((["日本語の曲.mp3", "二曲目.mp3"], "日本語の曲.mp3"),
                                 (["album"], os.path.join("album", "folder-track.mp3")), (["list.tsv"], "listed.mp3")):
            with self.subTest(arguments=arguments):
                self.wait_list_rests()
                opened = len(self.mci_opens(player))
                self.assertEqual(0, self.later_start(*map(self.path, arguments)))
                harness.wait_until(lambda: harness.read_playlist(self.current_playlist_path)[0][0] == self.path(first)
                                   and self.mci_opens(player)[opened:] and self.is_playing(),
                                   message=f"{first} to be the saved list's first entry and playing")
                last = self.mci_opens(player)[-1]
                self.assertTrue(last == self.path(first) or not first.isascii() and last.isascii(), last)
                self.assert_no_box(harness.CONFIRM, wait=0.5)

    def test_unwritable_current_playlist_keeps_the_given_list_playing(self):
        # Root is not stopped by read-only files: a folder in the file's place is.
        os.mkdir(self.current_playlist_path)
        self.write_settings(MSG_DISPLAY_TYPE=1)
        player = self.start_player(self.media("mine.mp3", seconds=30))
        # No tray icon exists yet while the command line is taken: a box even in balloon mode.
        expected = WRITE_FAILED.format(harness.windows_path(self.current_playlist_path))
        self.assertEqual(expected, self.box(harness.ERROR))
        harness.wait_until(self.is_playing, message="mine.mp3 to play")

        later = self.start_player(self.media("other.mp3"), wait=0)
        self.assertEqual(expected, self.box(harness.ERROR))
        self.assertEqual(0, later.wait(timeout=20))
        self.assertTrue(harness.stays(lambda: self.opened_names(player) == ["mine.mp3"], 1.0),
                        "the running player took another list")
        self.assertTrue(self.is_playing())
