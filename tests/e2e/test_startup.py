"""The player starts hidden with its tray icon, and ends cleanly."""
import harness


class StartupTest(harness.PlayerTestCase):
    def test_starts_hidden_with_a_tray_icon_and_exits_with_zero(self):
        process = self.start_player()
        code, state = self.probe("player-state")
        self.assertEqual(0, code)
        self.assertEqual("exists=1 visible=0", state)
        self.assertEqual(0, self.probe("tray-exists")[0], "the tray icon is missing")

        self.assertEqual(0, self.exit_player(process))
        self.assertEqual(0, self.probe("wait-no-player", 5000)[0])
        self.assertNotEqual(0, self.probe("tray-exists")[0], "the tray icon outlived the player")


if __name__ == "__main__":
    harness.unittest.main()
