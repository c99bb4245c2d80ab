"""The seek window and the volume dialog as a user meets them in the Wine desktop: both open at
the mouse cursor, the seek window follows a really playing track and a click seeks there, the
volume slider stores and applies every step, and a click elsewhere closes either."""
import re
import time

import harness

IDM_PAUSE = 1009
IDM_VOLUME = 1016
IDM_SEEK = 1023
SEEK_CLASS = "VELMORIS_PLAYER_SEEK"
SEEK_TITLE = "シーク - Velmoris Player"
VOLUME_CAPTION = "音量"
VOLUME_ERROR_BOX = "音量変更エラー - Velmoris Player"
IDC_VOLUME_TRACKBAR = 2001
TBM_GETPOS = 0x400

# Wine's MCI trace: the command string, then "=> 2/ error (reply)" when it has been carried out.
COMMAND = re.compile(r'mciSendStringW \(L"((?:[^"\\]|\\.)*)"')
RESULT = re.compile(r'mciSendStringW => 2/ \w+ \((?:L"((?:[^"\\]|\\.)*)"|\(null\))\)')


class SeekVolumeTest(harness.PlayerTestCase):
    def mci_exchanges(self, process):
        """(command, reply) of every MCI command string sent so far, in order."""
        exchanges = []
        with open(process.log_path, "rb") as src:
            for raw in src:
                line = raw.decode("utf-8", "replace")
                command = COMMAND.search(line)
                if command:
                    exchanges.append([command.group(1).replace('\\"', '"'), None])
                    continue
                result = RESULT.search(line)
                if result and exchanges and exchanges[-1][1] is None:
                    exchanges[-1][1] = result.group(1) or ""
        return exchanges

    def commands(self, process):
        return [command for command, _ in self.mci_exchanges(process)]

    def positions(self, process, after=0):
        """The replies to "status sound position" among the exchanges from index `after` on."""
        return [int(reply) for command, reply in self.mci_exchanges(process)[after:]
                if command == "status sound position" and reply]

    def play(self, name, seconds=60):
        track = self.media(name, seconds=seconds)
        process = self.start_player(harness.windows_path(track), trace_mci=True)
        harness.wait_until(self.is_playing, timeout=20, message="the track to play")
        return process

    def window_exists(self, class_name, title):
        return self.probe("window", class_name, title, 0)[0] == 0

    def open_at(self, x, y, command_id):
        harness.xdotool("mousemove", x, y)
        self.command(command_id)

    def thumb(self):
        code, text = self.probe("dialog-send", VOLUME_CAPTION, IDC_VOLUME_TRACKBAR, TBM_GETPOS, 0, 0)
        self.assertEqual(0, code, "the volume slider did not answer")
        return int(text)

    def test_seek_window_follows_playback_and_a_click_seeks_there(self):
        process = self.play("long.wav")
        self.open_at(500, 300, IDM_SEEK)
        rectangle, flags = self.window(SEEK_CLASS, SEEK_TITLE)
        self.assertEqual((400, 270, 600, 330), rectangle)
        self.assertEqual(("1", "1"), (flags["visible"], flags["topmost"]))

        # Four refreshes a second: new position replies keep arriving while the track plays.
        opened_at = len(self.mci_exchanges(process))
        harness.wait_until(lambda: len(self.positions(process, opened_at)) >= 8, message="eight refreshes")
        seen = self.positions(process, opened_at)
        self.assertEqual(sorted(seen), seen)
        self.assertLess(seen[0], seen[-1])

        # x = 150 of 200 on a 60 s track.
        clicked_at = len(self.mci_exchanges(process))
        harness.xdotool("mousemove", 550, 300, "click", 1)
        harness.wait_until(lambda: "seek sound to 45000" in self.commands(process)[clicked_at:],
                           message="the seek to 45 s")
        harness.wait_until(lambda: any(p > 45000 for p in self.positions(process, clicked_at)),
                           message="playback to go on from 45 s")
        self.assertTrue(self.is_playing())
        self.assertTrue(self.window_exists(SEEK_CLASS, SEEK_TITLE), "a click on the window closed it")

        harness.xdotool("mousemove", 100, 600, "click", 1)
        harness.wait_until(lambda: not self.window_exists(SEEK_CLASS, SEEK_TITLE),
                           message="the seek window to close on a click elsewhere")

    def test_click_while_paused_seeks_and_stays_paused_in_the_corner(self):
        process = self.play("long.wav")
        self.command(IDM_PAUSE)
        harness.wait_until(lambda: not self.is_playing(), message="the pause")
        self.open_at(5, 5, IDM_SEEK)
        rectangle, _ = self.window(SEEK_CLASS, SEEK_TITLE)
        self.assertEqual((0, 0, 200, 60), rectangle)

        clicked_at = len(self.mci_exchanges(process))
        harness.xdotool("mousemove", 50, 30, "click", 1)
        harness.wait_until(lambda: "seek sound to 15000" in self.commands(process)[clicked_at:],
                           message="the seek to 15 s")
        self.assertTrue(harness.stays(lambda: not self.is_playing(), 1.5), "playback started")
        self.assertFalse([c for c in self.commands(process)[clicked_at:] if c.startswith(("play", "resume"))])
        self.assertEqual(15000, self.positions(process, clicked_at)[-1])

    def test_volume_keys_store_and_apply_every_step(self):
        self.write_settings(VOLUME=1000)
        process = self.play("song.mp3")
        self.open_at(500, 300, IDM_VOLUME)
        (left, top, right, bottom), flags = self.window("#32770", VOLUME_CAPTION)
        self.assertLessEqual(abs((left + right) // 2 - 500), 1)
        self.assertLessEqual(abs((top + bottom) // 2 - 300), 1)
        self.assertEqual("1", flags["topmost"])
        self.assertEqual(1000, self.thumb())

        # Down-is-left: Page Down and the Down arrow turn the sound down.
        for key, expected in (("Next", 900), ("Down", 899), ("Up", 900)):
            harness.xdotool("key", key)
            harness.wait_until(lambda: self.read_settings().get("VOLUME") == str(expected),
                               message=f"VOLUME={expected} after {key}")
            self.assertEqual(expected, self.thumb())
            harness.wait_until(lambda: f"setaudio sound volume to {expected}" in self.commands(process),
                               message=f"the volume {expected} sent to the device")
        self.assertTrue(all(reply == "" for command, reply in self.mci_exchanges(process)
                            if command.startswith("setaudio")), "the device refused a volume")
        self.assert_no_box(VOLUME_ERROR_BOX)

        harness.xdotool("key", "Escape")
        harness.xdotool("key", "Return")
        self.assertTrue(harness.stays(lambda: self.window_exists("#32770", VOLUME_CAPTION), 1.0),
                        "Escape or Enter closed the dialog")

        harness.xdotool("mousemove", 100, 600, "click", 1)
        self.assertEqual(0, self.probe("dialog-gone", VOLUME_CAPTION, 10000, timeout=20)[0],
                         "a click elsewhere left the dialog open")
        self.assertEqual("900", self.read_settings().get("VOLUME"))

    def test_a_drag_without_a_track_stores_each_step_and_reports_at_most_once(self):
        process = self.start_player(trace_mci=True)
        self.open_at(500, 300, IDM_VOLUME)
        self.window("#32770", VOLUME_CAPTION)
        code, text = self.probe("dialog-control-rect", VOLUME_CAPTION, IDC_VOLUME_TRACKBAR)
        self.assertEqual(0, code)
        left, top, right, bottom = map(int, text.split())
        # The thumb stands at the right end of the slider, above the ticks.
        x, y = right - 14, top + 12
        harness.xdotool("mousemove", x, y, "mousedown", 1)
        for step in range(1, 11):
            harness.xdotool("mousemove", x - 10 * step, y)
        harness.xdotool("mouseup", 1)

        harness.wait_until(lambda: int(self.read_settings().get("VOLUME", "1000")) < 1000,
                           message="the drag to store a lower volume")
        sent = [c for c in self.commands(process) if c.startswith("setaudio sound volume to ")]
        self.assertGreaterEqual(len(sent), 2, "the drag gave a single notification")
        if self.window_exists("#32770", VOLUME_CAPTION):
            self.assertEqual(self.read_settings().get("VOLUME"), str(self.thumb()))

        # Reports are boxes of their own threads: gather every one that shows up for a while.
        reports = 0
        deadline = time.monotonic() + 3
        while time.monotonic() < deadline:
            _, closed = self.probe("close-boxes")
            reports += closed.splitlines().count(VOLUME_ERROR_BOX)
            time.sleep(0.2)
        self.assertLessEqual(reports, 1)

if __name__ == "__main__":
    harness.unittest.main()
