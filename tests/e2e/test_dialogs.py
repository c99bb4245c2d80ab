"""The real dialogs inside the running player: a cancelled one changes nothing, the chosen filter
comes back, chosen tracks become the current playlist and play; an export holds the playlist, an
existing file is replaced only after a Yes, an unreadable playlist is reported and changes nothing."""
import os
import pathlib
import shutil
import subprocess

import harness

OPEN_FILES, OPEN_FOLDER = "音声ファイルを開く（複数可）", "フォルダーを開く"
OPEN_LIST, OVERWRITE = "プレイリストを開く", "上書き保存確認"
EXPORT = "プレイリストファイルに書き出す"
UNREADABLE = "プレイリストファイルの読み込みに失敗しました。"
FILE_NAME_BOX, FILTER_BOX = 0x47C, 0x470
MUSIC_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders"


class DialogsTest(harness.PlayerTestCase):
    def assert_list_plays(self, process, paths):
        listed = lambda: [p.lower() for p, _, _ in harness.read_playlist(self.current_playlist_path)]  # noqa: E731
        harness.wait_until(lambda: os.path.exists(self.current_playlist_path) and sorted(listed()) == sorted(
            map(str.lower, paths)) and self.is_playing(), message=f"the current playlist to hold {paths} and play")
        self.assertEqual(listed()[0], self.mci_opens(process)[-1].lower())

    def music_folder(self, path):
        subprocess.run(["wine", "reg", "add", MUSIC_KEY, "/v", "My Music", "/t", "REG_EXPAND_SZ", "/d", path, "/f"],
                       check=True, timeout=60, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def submit(self, command, title, path):
        self.addCleanup(self.probe, "dialog-cancel", title, 0)  # a dialog left open is cancelled at the end
        self.command(command)
        self.dialog("dialog-enter", title, FILE_NAME_BOX, path)

    def holds(self, name, content):
        return (file := pathlib.Path(self.work, name)).exists() and file.read_bytes() == content

    def test_open_dialogs_keep_the_filter_start_at_the_music_folder_and_play_the_chosen(self):
        # On its way to the starting folder the browser reads the folders beside each one of the path: the
        # music folder lies away from the test folders, which grow in number with every run.
        music = os.path.join(os.path.dirname(self.work), "..", "e2e-music")
        shutil.rmtree(music, ignore_errors=True)
        in_music = [self.media(os.path.join(music, "c.mp3"), 4), self.media(os.path.join(music, "d.wav"), 4)]
        self.media(os.path.join(music, "inner", "e.wav"))
        self.write(os.path.join(music, "notes.txt"), b"not audio")
        self.music_folder(harness.windows_path(music))
        self.addCleanup(self.music_folder, r"%USERPROFILE%\Music")
        tracks = [self.media(name, seconds=4) for name in ("a.mp3", "b.mp3", "only.mp3")]
        process = self.start_player()
        self.addCleanup(self.probe, "dialog-cancel", OPEN_FILES, 0)
        self.command(harness.IDM_OPEN_FILES)
        self.assertEqual("0", self.dialog("dialog-choose", OPEN_FILES, FILTER_BOX, 4), "not first on the MP3 filter")
        self.dialog("dialog-cancel", OPEN_FILES)
        self.wait_gone("#32770", OPEN_FILES)
        self.addCleanup(self.probe, "dialog-cancel", OPEN_FOLDER, 0)
        self.command(harness.IDM_OPEN_FOLDER)
        self.dialog("dialog-cancel", OPEN_FOLDER)
        self.wait_gone("#32770", OPEN_FOLDER)
        self.assertEqual([], self.mci_opens(process), "a cancelled dialog opened a track")
        self.assertFalse(os.path.exists(self.current_playlist_path), "a cancelled dialog wrote a playlist")
        # Two names as a user types them, and one, which the dialog returns in another form.
        for typed, chosen in (('"a.mp3" "b.mp3"', tracks[:2]), ("only.mp3", tracks[2:])):
            self.command(harness.IDM_OPEN_FILES)
            self.assertEqual("4", self.dialog("dialog-choose", OPEN_FILES, FILTER_BOX, 4), "the filter was not kept")
            for text in (self.path(""), typed):  # into the test's folder first, then the names
                self.dialog("dialog-enter", OPEN_FILES, FILE_NAME_BOX, text)
            self.assert_list_plays(process, chosen)
        self.command(harness.IDM_OPEN_FOLDER)
        self.dialog("dialog-tree-chosen", OPEN_FOLDER, 30000)
        self.dialog("dialog-ok", OPEN_FOLDER)
        self.assert_list_plays(process, in_music)

    def test_playlist_export_then_open(self):
        self.write_settings(MSG_DISPLAY_TYPE=2)
        saved = [(self.media("b.wav", 120), 0, 0), (self.media("a.wav"), 250, 900)]
        self.write(self.current_playlist_path, harness.utf16_playlist(saved))
        process = self.start_player()
        self.command(harness.IDM_PLAY)
        harness.wait_until(self.is_playing, message="the saved list to play")
        # A bare name gets ".tsv"; the file holds the playlist.
        self.submit(harness.IDM_EXPORT_PLAYLIST, EXPORT, self.path("mylist"))
        harness.wait_until(lambda: self.holds("mylist.tsv", harness.utf16_playlist(saved)), message="mylist.tsv")
        self.assertFalse(os.path.exists(os.path.join(self.work, "mylist")))
        self.write("mylist.tsv", b"old")
        question = f"「{self.path('mylist.tsv')}」は既に存在しています。上書きしますか？"
        self.submit(harness.IDM_EXPORT_PLAYLIST, EXPORT, self.path("mylist"))
        self.assertEqual(question, self.box(OVERWRITE))  # answered No
        # The dialog opens again only once the export before has returned.
        self.submit(harness.IDM_EXPORT_PLAYLIST, EXPORT, self.path("mylist"))
        self.assertTrue(self.holds("mylist.tsv", b"old"))
        self.assertEqual(question, self.box(OVERWRITE, yes=True))
        harness.wait_until(lambda: self.holds("mylist.tsv", harness.utf16_playlist(saved)), message="the file replaced")

        self.command(harness.IDM_MSG_MESSAGE_BOX)
        self.write("big.vpl", b"\xfe\xff" + f"{saved[0][0]}\t0\t0\r\n".encode("utf-16-be"))
        self.submit(harness.IDM_OPEN_PLAYLIST, OPEN_LIST, self.path("big.vpl"))
        self.assertEqual(UNREADABLE, self.box(harness.ERROR))
        self.assertTrue(self.is_playing())
        self.assertEqual(1, len(self.mci_opens(process)))
        self.assertEqual(saved, harness.read_playlist(self.current_playlist_path))
        chosen = [(self.media("second.wav", 30), 0, 0), (saved[0][0], 0, 0)]
        self.write("list.vpl", harness.utf16_playlist(chosen))
        self.submit(harness.IDM_OPEN_PLAYLIST, OPEN_LIST, self.path("list.vpl"))
        harness.wait_until(lambda: self.opened_names(process)[1:] == ["second.wav"] and self.is_playing(),
                           message="the opened list's first track to play")
        self.assertEqual(chosen, harness.read_playlist(self.current_playlist_path))
