"""Real playback through the platform's MCI drivers and a PulseAudio null sink: tracks play, the
end of one starts the next, the end of the list leaves the first track open and stopped, pause,
resume and stop act on the device, and an entry with start and end plays only that span."""
import os
import re

import harness

IDM_PLAY = 1008
IDM_PAUSE = 1009
IDM_STOP = 1010

# A trace line of Wine's MCI: mciSendStringW (L"play all notify", ...), quotes escaped inside.
COMMAND_PATTERN = re.compile(r'mciSendStringW \(L"((?:[^"\\]|\\.)*)"')


class PlaybackTest(harness.PlayerTestCase):
    def mci_commands(self, process):
        """Every MCI command string the player sent so far, in order (needs trace_mci)."""
        with open(process.log_path, "rb") as src:
            text = src.read().decode("utf-8", "replace")
        return [match.group(1).replace('\\"', '"').replace("\\\\", "\\") for match in COMMAND_PATTERN.finditer(text)]

    def wait_for_commands(self, process, since, *expected, timeout=20):
        """Waits until the commands, in this order, were sent after the first `since` ones."""

        def sent():
            position = 0
            for command in self.mci_commands(process)[since:]:
                if position < len(expected) and command == expected[position]:
                    position += 1
            return position == len(expected)

        harness.wait_until(sent, timeout=timeout, message=f"the commands {expected}")

    def path(self, name):
        return harness.windows_path(os.path.join(self.work, name))

    def opened_names(self, process):
        return [os.path.basename(path.replace("\\", "/")).lower() for path in self.mci_opens(process)]

    def wait_for_opens(self, process, names, playing=None, timeout=20):
        """Waits until exactly these files were opened, in turn, and the device is (not) playing."""
        harness.wait_until(
            lambda: self.opened_names(process) == names and (playing is None or self.is_playing() == playing),
            timeout=timeout, message=f"the tracks {names} opened in turn" + ("" if playing is None else f", playing={playing}"))

    def wait_playing(self, playing, what):
        harness.wait_until(lambda: self.is_playing() == playing, timeout=20, message=what)

    def test_wav_and_mp3_tracks_play_in_turn_and_the_list_ends_on_its_first_track(self):
        self.media("a.wav", seconds=3)
        self.media("b.mp3", seconds=3, frequency=660)
        process = self.start_player(self.path("a.wav"), self.path("b.mp3"), trace_mci=True)

        self.wait_for_opens(process, ["a.wav"], playing=True)
        self.wait_for_opens(process, ["a.wav", "b.mp3"], playing=True)
        # Repeat is off: after the last track the first one is opened again and left stopped.
        self.wait_for_opens(process, ["a.wav", "b.mp3", "a.wav"], playing=False)
        commands = self.mci_commands(process)
        last_open = max(i for i, command in enumerate(commands) if command.startswith("open "))
        self.assertEqual([], [c for c in commands[last_open:] if c.startswith("play ")], "the list played on past its end")
        self.assertEqual(2, commands.count("play all notify"))
        # The WAV driver has no volume control: no report about it, nor about anything else.
        self.assert_no_box("音量変更エラー - Velmoris Player")
        self.assertEqual(0, self.exit_player(process))

    def test_pause_resume_and_stop_act_on_the_playing_track(self):
        self.media("long.mp3", seconds=20)
        process = self.start_player(self.path("long.mp3"), trace_mci=True)
        self.wait_playing(True, "the track to play")

        mark = len(self.mci_commands(process))
        self.command(IDM_PAUSE)
        self.wait_playing(False, "the pause")
        self.wait_for_commands(process, mark, "capability sound device type", "pause all", "pause sound")

        mark = len(self.mci_commands(process))
        self.command(IDM_PLAY)
        self.wait_playing(True, "the resume")
        self.wait_for_commands(process, mark, "resume all", "resume sound")
        self.assertNotIn("play all notify", self.mci_commands(process)[mark:], "a resume must not play anew")

        mark = len(self.mci_commands(process))
        self.command(IDM_STOP)
        self.wait_playing(False, "the stop")
        self.wait_for_commands(process, mark, "stop all", "stop sound", "seek all to start", "seek sound to start")

        mark = len(self.mci_commands(process))
        self.command(IDM_PLAY)
        self.wait_playing(True, "playback after the stop")
        self.wait_for_commands(process, mark, "play all notify", "play sound notify")
        self.assertEqual(["long.mp3"], self.opened_names(process))
        self.assertEqual(0, self.exit_player(process))

    def test_an_entry_with_start_and_end_plays_only_that_span(self):
        # Played whole, the first track would take 30 s; its span of one second ends far sooner.
        self.media("span.mp3", seconds=30)
        self.media("after.mp3", seconds=3)
        with open(self.current_playlist_path, "wb") as out:
            out.write(harness.utf16_playlist([(self.path("span.mp3"), 2000, 3000), (self.path("after.mp3"), 0, 0)]))
        process = self.start_player(trace_mci=True)
        self.wait_for_opens(process, ["span.mp3"], playing=False)
        self.wait_for_commands(process, 0, "set sound time format ms", "seek sound to 2000")

        self.post(harness.WM_APP_PLAY)
        self.wait_for_commands(process, 0, "play all to 3000 notify", "play sound to 3000 notify")
        self.wait_for_opens(process, ["span.mp3", "after.mp3"], playing=True, timeout=15)
        self.assertEqual(0, self.exit_player(process))


if __name__ == "__main__":
    harness.unittest.main()
