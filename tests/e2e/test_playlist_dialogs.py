"""The playlist export and open dialogs, driven for real inside the running player: an export
holds the playlist's bytes, an existing file is only replaced after a Yes (asked even with
messages hidden), an unreadable playlist is reported and changes nothing, an opened one becomes
the current list and its first track plays."""
import os

import harness

OPEN_TITLE = "プレイリストを開く"
EXPORT_TITLE = "プレイリストファイルに書き出す"
OVERWRITE_CAPTION = "上書き保存確認"
FILE_NAME_BOX = 0x47C


class PlaylistDialogsTest(harness.PlayerTestCase):
    def submit(self, command, title, path):
        self.addCleanup(self.probe, "dialog-cancel", title, 0)
        self.command(command)
        self.set_dialog_text(title, FILE_NAME_BOX, path)
        self.press_dialog_ok(title)

    def file_is(self, path, content):
        with open(path, "rb") as src:
            return src.read() == content

    def test_export_then_open(self):
        self.write_settings(MSG_DISPLAY_TYPE=2)
        saved = [(harness.windows_path(self.media("b.wav", 120)), 0, 0),
                 (harness.windows_path(self.media("a.wav")), 250, 900)]
        self.write_current_playlist(saved)
        process = self.start_player(trace_mci=True)
        self.post(harness.WM_APP_PLAY)
        harness.wait_until(self.is_playing, timeout=20, message="the saved list to play")

        # A bare name gets ".tsv"; the file holds the playlist.
        typed, exported = self.path("mylist"), os.path.join(self.work, "mylist.tsv")
        self.submit(harness.IDM_EXPORT_PLAYLIST, EXPORT_TITLE, typed)
        harness.wait_until(lambda: os.path.exists(exported) and self.file_is(exported, harness.utf16_playlist(saved)),
                           message="mylist.tsv to hold the playlist")
        self.assertFalse(os.path.exists(os.path.join(self.work, "mylist")))
        with open(exported, "wb") as out:
            out.write(b"old")
        question = f"「{harness.windows_path(exported)}」は既に存在しています。上書きしますか？"
        self.submit(harness.IDM_EXPORT_PLAYLIST, EXPORT_TITLE, typed)
        self.assertEqual(question, self.wait_for_box(OVERWRITE_CAPTION))  # answered No
        # The dialog opens again only once the export before has returned.
        self.submit(harness.IDM_EXPORT_PLAYLIST, EXPORT_TITLE, typed)
        self.assertTrue(self.file_is(exported, b"old"))
        self.assertEqual(question, self.answer_box_yes(OVERWRITE_CAPTION))
        harness.wait_until(lambda: self.file_is(exported, harness.utf16_playlist(saved)),
                           message="the file to be replaced by the playlist")

        self.command(harness.IDM_MSG_MESSAGE_BOX)
        big_endian = os.path.join(self.work, "big.vpl")
        with open(big_endian, "wb") as out:
            out.write(b"\xfe\xff" + f"{saved[0][0]}\t0\t0\r\n".encode("utf-16-be"))
        self.submit(harness.IDM_OPEN_PLAYLIST, OPEN_TITLE, harness.windows_path(big_endian))
        self.assertEqual("プレイリストファイルの読み込みに失敗しました。", self.wait_for_box("エラー - Velmoris Player"))
        self.assertTrue(self.is_playing())
        self.assertEqual(1, len(self.mci_opens(process)))
        self.assertEqual(saved, harness.read_playlist(self.current_playlist_path))

        chosen = [(harness.windows_path(self.media("second.wav", 30)), 0, 0), (saved[0][0], 0, 0)]
        with open(os.path.join(self.work, "list.vpl"), "wb") as out:
            out.write(harness.utf16_playlist(chosen))
        self.submit(harness.IDM_OPEN_PLAYLIST, OPEN_TITLE, self.path("list.vpl"))
        harness.wait_until(lambda: self.opened_names(process)[1:] == ["second.wav"] and self.is_playing(),
                           timeout=20, message="the opened list's first track to play")
        self.assertEqual(chosen, harness.read_playlist(self.current_playlist_path))

