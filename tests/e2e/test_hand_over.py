"""One player per desktop: a later start hands its files (Japanese names whole, played by their short
names), folder or playlist over and ends, or says that the player runs; a look-alike window does not
count; a current-playlist file that cannot be written does not lose the list the user gave."""
import os
import subprocess

import harness

WRITE_FAILED = "プレイリストファイルの書き込みに失敗しました。\n（パス：{}）"
ALREADY_RUNNING = ("既に起動しています。\n但しファイル（複数可）、プレイリストまたは"
                   "フォルダーをドラッグアンドドロップして"
                   "既存のプロセスに開かせることは出来ます。")


class HandOverTest(harness.PlayerTestCase):
    def test_later_start_hands_over_files_a_folder_and_a_playlist(self):
        japanese = self.media(os.path.join("曲集", "曲 1.wav"), seconds=30)
        player = self.start_player(japanese)
        harness.wait_until(lambda: self.is_playing() and self.mci_opens(player)[0].isascii() and
                           harness.read_playlist(self.current_playlist_path) == [(japanese, 0, 0)],
                           message="the Japanese-named WAV to play by its short name, listed by its own")
        for name in (os.path.join("album", "folder-track.mp3"), "日本語の曲.mp3", "二曲目.mp3"):
            self.media(name, seconds=30)
        self.write("list.tsv", harness.utf16_playlist([(self.media("listed.mp3", seconds=30), 0, 0)]))
        for arguments, first in ((["日本語の曲.mp3", "二曲目.mp3"], "日本語の曲.mp3"),
                                 (["album"], os.path.join("album", "folder-track.mp3")), (["list.tsv"], "listed.mp3")):
            self.wait_list_rests()
            opened = len(self.mci_opens(player))
            self.assertEqual(0, self.start_player(*map(self.path, arguments), wait=0).wait(30))
            harness.wait_until(lambda: harness.read_playlist(self.current_playlist_path)[0][0] == self.path(first)
                               and self.mci_opens(player)[opened:] and self.is_playing(),
                               message=f"{first} to be the saved list's first entry and playing")
            last = self.mci_opens(player)[-1]
            self.assertTrue(last == self.path(first) or not first.isascii() and last.isascii(), last)
            self.assert_no_box(harness.CONFIRM, wait=0.5)

    def test_later_start_without_files_says_the_player_runs(self):
        impostor = subprocess.Popen(["wine", os.environ["VELMORIS_PROBE"], "impostor", "Something Else", "30000"],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(impostor.wait)
        self.addCleanup(impostor.kill)
        self.window(harness.mainWindowClassName, "Something Else")
        player = self.start_player()
        self.assertEqual(0, self.probe("tray-exists")[0], "the player took the look-alike for a running player")
        for display_type, command in enumerate((harness.IDM_MSG_MESSAGE_BOX, harness.IDM_MSG_BALLOON,
                                                harness.IDM_MSG_HIDDEN)):
            self.command(command)
            harness.wait_until(lambda: self.read_settings().get("MSG_DISPLAY_TYPE") == str(display_type),
                               message=f"MSG_DISPLAY_TYPE={display_type}")
            later = self.start_player(wait=0)
            if display_type < 2:
                self.assertEqual(ALREADY_RUNNING, self.box(harness.CONFIRM), display_type)
            self.assertEqual(0, later.wait(timeout=20))
            self.assert_no_box(harness.CONFIRM, wait=0.5)
            self.assertIsNone(player.poll(), "the running player was disturbed")

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
