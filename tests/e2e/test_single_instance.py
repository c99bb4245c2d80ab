"""One player per desktop: a later start without files tells the user, a look-alike window
does not count, and the exit command ends the player for good."""
import time

import harness

ALREADY_RUNNING = ("既に起動しています。\n但しファイル（複数可）、プレイリストまたはフォルダーをドラッグアンドドロップして"
                   "既存のプロセスに開かせることは出来ます。")


class SingleInstanceTest(harness.PlayerTestCase):
    def test_later_start_without_files_says_the_player_runs(self):
        for display_type in (0, 1):
            with self.subTest(display_type=display_type):
                self.write_settings(MSG_DISPLAY_TYPE=display_type)
                player = self.start_player()
                later = self.start_player(wait=False)
                self.assertEqual(ALREADY_RUNNING, self.wait_for_box("確認 - Velmoris Player"))
                self.assertEqual(0, later.wait(timeout=20))
                self.assertIsNone(player.poll(), "the running player was disturbed")
                self.assertEqual(0, self.exit_player(player))

    def test_later_start_with_hidden_messages_shows_nothing(self):
        self.write_settings(MSG_DISPLAY_TYPE=2)
        player = self.start_player()
        started = time.monotonic()
        self.assertEqual(0, self.later_start())
        self.assertLess(time.monotonic() - started, 20)
        self.assert_no_box("確認 - Velmoris Player")
        self.assertIsNone(player.poll())
        self.assertEqual(0, self.exit_player(player))

    def test_window_of_the_class_with_another_title_is_not_a_player(self):
        impostor = harness.subprocess.Popen(
            ["wine", harness.os.environ["VELMORIS_PROBE"], "impostor", "Something Else", "20000"],
            stdout=harness.subprocess.DEVNULL, stderr=harness.subprocess.DEVNULL)
        self.addCleanup(impostor.wait)
        self.addCleanup(impostor.kill)
        time.sleep(1.0)
        player = self.start_player()
        self.assert_no_box("確認 - Velmoris Player", wait=1.0)
        self.assertIsNone(player.poll(), "the player took the look-alike for a running player")
        self.assertEqual(0, self.probe("tray-exists")[0])
        self.assertEqual(0, self.exit_player(player))

    def test_exit_removes_the_icon_and_a_later_start_runs_anew(self):
        player = self.start_player()
        self.assertEqual(0, self.exit_player(player))
        self.assertEqual(0, self.probe("wait-no-player", 5000)[0])
        self.assertNotEqual(0, self.probe("tray-exists")[0])
        again = self.start_player()
        self.assert_no_box("確認 - Velmoris Player", wait=1.0)
        self.assertEqual(0, self.exit_player(again))


class TaskbarRestartTest(harness.PlayerTestCase):
    def test_icon_comes_back_when_the_taskbar_is_recreated(self):
        player = self.start_player()
        self.assertEqual(0, self.probe("tray-delete")[0])
        self.assertNotEqual(0, self.probe("tray-exists")[0])
        self.probe("taskbar-created")
        harness.wait_until(lambda: self.probe("tray-exists")[0] == 0, timeout=10, message="the tray icon to come back")
        self.assertEqual(0, self.exit_player(player))


if __name__ == "__main__":
    harness.unittest.main()
