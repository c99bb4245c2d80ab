"""One player per desktop: a look-alike window does not count, and a later start without files
tells the user that the player runs (a box even in balloon mode, nothing when messages are
hidden) and ends, leaving the running player alone."""
import os
import subprocess

import harness

ALREADY_RUNNING = ("既に起動しています。\n但しファイル（複数可）、プレイリストまたはフォルダーをドラッグアンドドロップして"
                   "既存のプロセスに開かせることは出来ます。")


class SingleInstanceTest(harness.PlayerTestCase):
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
