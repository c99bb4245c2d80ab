"""A current playlist of 200 000 entries: the tray menu opens within the same bound as with a few
tracks, and a track chosen from its selection submenu plays."""
import harness
import test_tray_clicks

ENTRIES = 200000


class LongMenuTest(harness.PlayerTestCase):
    click_icon = test_tray_clicks.TrayClicksTest.click_icon
    open_menu = test_tray_clicks.TrayClicksTest.open_menu
    open_menus = test_tray_clicks.TrayClicksTest.open_menus
    choose = test_tray_clicks.TrayClicksTest.choose

    def test_selection_from_a_long_list_plays_the_chosen_track(self):
        tracks = [harness.windows_path(self.media(f"{name}.wav", seconds=60, frequency=300 + 100 * i))
                  for i, name in enumerate(("a", "b", "c"))]
        with open(self.current_playlist_path, "wb") as out:
            out.write(harness.utf16_playlist((tracks[i % 3], 0, 0) for i in range(ENTRIES)))
        process = self.start_player(trace_mci=True, wait=False)
        self.wait_for_player(timeout=60)
        self.post(harness.WM_APP_PLAY)
        harness.wait_until(self.is_playing, message="the first track to play")

        self.open_menu()
        # The submenu opens with its first item, the current position 0, highlighted.
        self.choose("e")
        harness.wait_until(lambda: self.open_menus() >= 2, message="the selection submenu")
        harness.xdotool("key", "Down", "Down", "Return")
        harness.wait_until(lambda: self.mci_opens(process)[1:] == [tracks[2]], message="position 2 to open")
        harness.wait_until(self.is_playing, message="the chosen track to play")


if __name__ == "__main__":
    harness.unittest.main()
