"""The playlist open and export dialogs and the About dialog, driven for real inside the running
player: exported files hold the playlist's bytes, an existing file is only replaced after a Yes,
an opened playlist plays, an unreadable one is reported and changes nothing; the About dialog is
centred, shows its texts, ignores Escape and closes with Enter."""
import os
import time

import harness

IDM_ABOUT = 1003
IDM_OPEN_PLAYLIST = 1006
IDM_EXPORT_PLAYLIST = 1007
OPEN_TITLE = "プレイリストを開く"
EXPORT_TITLE = "プレイリストファイルに書き出す"
OVERWRITE_CAPTION = "上書き保存確認"
ABOUT_CAPTION = "バージョン情報"
FILE_NAME_BOX = 0x47C


class PlaylistDialogsTest(harness.PlayerTestCase):
    def start_with_list(self, entries):
        with open(self.current_playlist_path, "wb") as out:
            out.write(harness.utf16_playlist(entries))
        process = self.start_player(trace_mci=True)
        harness.wait_until(lambda: self.mci_opens(process), message="the saved list's first track to open")
        return process

    def track(self, name, seconds=30, frequency=440.0):
        return harness.windows_path(self.media(name, seconds, frequency))

    def choose(self, command, title, path):
        self.addCleanup(self.probe, "dialog-cancel", title, 0)
        self.command(command)
        self.set_dialog_text(title, FILE_NAME_BOX, path)
        self.press_dialog_ok(title)

    def read_bytes(self, path):
        with open(path, "rb") as src:
            return src.read()

    def test_export_completes_a_bare_name_and_asks_before_replacing_even_with_messages_hidden(self):
        self.write_settings(MSG_DISPLAY_TYPE=2)
        entries = [(self.track("b.wav", 1), 0, 0), (self.track("a.wav", 1), 250, 900)]
        self.start_with_list(entries)
        typed = harness.windows_path(os.path.join(self.work, "mylist"))
        exported = os.path.join(self.work, "mylist.tsv")
        self.choose(IDM_EXPORT_PLAYLIST, EXPORT_TITLE, typed)
        harness.wait_until(lambda: os.path.exists(exported) and self.read_bytes(exported) == harness.utf16_playlist(entries),
                           message="mylist.tsv to hold the playlist")
        self.assertFalse(os.path.exists(os.path.join(self.work, "mylist")))

        with open(exported, "wb") as out:
            out.write(b"old")
        question = f"「{harness.windows_path(exported)}」は既に存在しています。上書きしますか？"
        self.choose(IDM_EXPORT_PLAYLIST, EXPORT_TITLE, typed)
        self.assertEqual(question, self.wait_for_box(OVERWRITE_CAPTION))  # answered No
        # The dialog opens again only once the export before has returned.
        self.choose(IDM_EXPORT_PLAYLIST, EXPORT_TITLE, typed)
        self.assertEqual(b"old", self.read_bytes(exported))
        self.assertEqual(question, self.answer_box_yes(OVERWRITE_CAPTION))
        harness.wait_until(lambda: self.read_bytes(exported) == harness.utf16_playlist(entries),
                           message="the file to be replaced by the playlist")

    def test_opened_playlist_becomes_the_current_list_and_its_first_track_plays(self):
        process = self.start_with_list([(self.track("old.wav", 1), 0, 0)])
        chosen = [(self.track("second.wav"), 0, 0), (self.track("first.wav", frequency=660), 0, 0)]
        playlist_file = os.path.join(self.work, "list.vpl")
        with open(playlist_file, "wb") as out:
            out.write(harness.utf16_playlist(chosen))
        self.choose(IDM_OPEN_PLAYLIST, OPEN_TITLE, harness.windows_path(playlist_file))
        harness.wait_until(self.is_playing, timeout=20, message="the opened list to play")
        self.assertEqual(chosen[0][0].lower(), self.mci_opens(process)[-1].lower())
        self.assertEqual(chosen, harness.read_playlist(self.current_playlist_path))

    def test_big_endian_playlist_is_reported_and_the_current_track_plays_on(self):
        saved = [(self.track("playing.wav"), 0, 0)]
        process = self.start_with_list(saved)
        self.post(harness.WM_APP_PLAY)
        harness.wait_until(self.is_playing, timeout=20, message="the saved track to play")
        big_endian = os.path.join(self.work, "big.vpl")
        with open(big_endian, "wb") as out:
            out.write(b"\xfe\xff" + f"{saved[0][0]}\t0\t0\r\n".encode("utf-16-be"))
        self.choose(IDM_OPEN_PLAYLIST, OPEN_TITLE, harness.windows_path(big_endian))
        self.assertEqual("プレイリストファイルの読み込みに失敗しました。", self.wait_for_box("エラー - Velmoris Player"))
        self.assertTrue(self.is_playing())
        self.assertEqual(1, len(self.mci_opens(process)))
        self.assertEqual(saved, harness.read_playlist(self.current_playlist_path))

    def test_about_dialog_is_centred_ignores_escape_and_closes_with_enter(self):
        self.start_player()
        self.addCleanup(self.probe, "dialog-ok", ABOUT_CAPTION, 0)
        self.command(IDM_ABOUT)
        code, text = self.probe("window", "#32770", ABOUT_CAPTION, 10000, timeout=20)
        self.assertEqual(0, code, "the About dialog did not open")
        left, top, right, bottom = map(int, text.split()[:4])
        # Centred on the 1024x700 desktop's work area, which the taskbar shortens at the bottom.
        self.assertLessEqual(abs((left + right) - 1024), 2, f"not centred across: {left}..{right}")
        self.assertLessEqual(abs((top + bottom) - 680), 40, f"not centred up and down: {top}..{bottom}")
        texts = self.dialog_texts(ABOUT_CAPTION)
        del texts[1]  # the icon, whose text is its resource number
        self.assertEqual([(-1, "Velmoris Player|Version 1.03"), (-1, "© 2026 Velmoris Player 開発チーム"),
                          (2000, "URL : https://velmoris.example/player/"), (1, "OK")], texts)

        # The pointer rests on the dialog's face, away from the link.
        harness.xdotool("mousemove", (left + right) // 2, top + 60)
        # Keys go to the window under the pointer once the X focus is on the root window.
        harness.xdotool("windowfocus", harness.root_window())
        harness.xdotool("key", "Escape")
        time.sleep(1)
        self.assertEqual(0, self.probe("window", "#32770", ABOUT_CAPTION, 0)[0], "Escape closed the dialog")
        harness.xdotool("key", "Return")
        self.assertEqual(0, self.probe("dialog-gone", ABOUT_CAPTION, 10000, timeout=30)[0], "Enter did not close it")


if __name__ == "__main__":
    harness.unittest.main()
