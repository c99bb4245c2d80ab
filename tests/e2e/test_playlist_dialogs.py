"""The playlist export and open dialogs, driven for real inside the running player: an export
holds the playlist's bytes, an existing file is only replaced after a Yes (asked even with
messages hidden), an unreadable playlist is reported and changes nothing, an opened one becomes
the current list and its first track plays."""
import os

import harness

OPEN_TITLE, EXPORT_TITLE, OVERWRITE = "プレイリストを開く", "プレイリストファイルに書き出す", "上書き保存確認"


class PlaylistDialogsTest(harness.PlayerTestCase):
    def submit(self, command, title, path):
        self.addCleanup(self.probe, "dialog-cancel", title, 0)
        self.command(command)
        self.dialog("dialog-set-text", title, 0x47C, path)  # the file name box
        self.dialog("dialog-ok", title)

    def holds(self, name, content):
        with open(os.path.join(self.work, name), "rb") as src:
            return src.read() == content

    def test_export_then_open(self):
        self.write_settings(MSG_DISPLAY_TYPE=2)
        saved = [(self.media("b.wav", 120), 0, 0), (self.media("a.wav"), 250, 900)]
        self.write(self.current_playlist_path, harness.utf16_playlist(saved))
        process = self.start_player()
        self.post(harness.WM_APP_PLAY)
        harness.wait_until(self.is_playing, message="the saved list to play")

        # A bare name gets ".tsv"; the file holds the playlist.
        self.submit(harness.IDM_EXPORT_PLAYLIST, EXPORT_TITLE, self.path("mylist"))
        harness.wait_until(lambda: os.path.exists(os.path.join(self.work, "mylist.tsv")) and self.holds(
            "mylist.tsv", harness.utf16_playlist(saved)), message="mylist.tsv to hold the playlist")
        self.assertFalse(os.path.exists(os.path.join(self.work, "mylist")))
        self.write("mylist.tsv", b"old")
        question = f"「{self.path('mylist.tsv')}」は既に存在しています。上書きしますか？"
        self.submit(harness.IDM_EXPORT_PLAYLIST, EXPORT_TITLE, self.path("mylist"))
        self.assertEqual(question, self.box(OVERWRITE))  # answered No
        # The dialog opens again only once the export before has returned.
        self.submit(harness.IDM_EXPORT_PLAYLIST, EXPORT_TITLE, self.path("mylist"))
        self.assertTrue(self.holds("mylist.tsv", b"old"))
        self.assertEqual(question, self.box(OVERWRITE, yes=True))
        harness.wait_until(lambda: self.holds("mylist.tsv", harness.utf16_playlist(saved)), message="the file replaced")

        self.command(harness.IDM_MSG_MESSAGE_BOX)
        self.write("big.vpl", b"\xfe\xff" + f"{saved[0][0]}\t0\t0\r\n".encode("utf-16-be"))
        self.submit(harness.IDM_OPEN_PLAYLIST, OPEN_TITLE, self.path("big.vpl"))
        self.assertEqual("プレイリストファイルの読み込みに失敗しました。", self.box(harness.ERROR))
        self.assertTrue(self.is_playing())
        self.assertEqual(1, len(self.mci_opens(process)))
        self.assertEqual(saved, harness.read_playlist(self.current_playlist_path))

        chosen = [(self.media("second.wav", 30), 0, 0), (saved[0][0], 0, 0)]
        self.write("list.vpl", harness.utf16_playlist(chosen))
        self.submit(harness.IDM_OPEN_PLAYLIST, OPEN_TITLE, self.path("list.vpl"))
        harness.wait_until(lambda: self.opened_names(process)[1:] == ["second.wav"] and self.is_playing(),
                           message="the opened list's first track to play")
        self.assertEqual(chosen, harness.read_playlist(self.current_playlist_path))
