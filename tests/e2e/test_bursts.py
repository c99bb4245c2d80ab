"""Many starts at once, as the shell makes them for a multi-selection (one process per file):
they end as one player, no file is lost, files opened together become one list whose first track
plays on while the others join, and a later burst replaces it. The current playlist is never seen
half written."""
import glob
import os
import shutil
import threading

import harness


class BurstTest(harness.PlayerTestCase):
    def test_bursts_of_starts_make_one_player_and_one_list(self):
        self.media("source.wav", seconds=20)
        names = [f"track {i:02}.wav" for i in range(32)]
        for name in names:
            shutil.copy(os.path.join(self.work, "source.wav"), os.path.join(self.work, name))
        stop, torn = threading.Event(), []

        def read_over_and_over():
            while not stop.wait(0.002):  # leaves the cores to the starts
                try:  # written whole under another name, then renamed: once there it stays
                    os.path.exists(self.current_playlist_path) and harness.read_playlist(self.current_playlist_path)
                except (AssertionError, ValueError, UnicodeDecodeError) as error:
                    torn.append(repr(error))
        (watcher := threading.Thread(target=read_over_and_over)).start()
        self.addCleanup(watcher.join)
        self.addCleanup(stop.set)

        player = None
        for label, burst in (("8 first starts", names[:8]), ("12 later starts", names[8:20]),
                             ("12 later starts 3 s later", names[20:32])):
            if player:
                self.wait_list_rests(3.0)
            opened = len(self.mci_opens(player)) if player else 0
            starts = [self.start_player(self.path(name), wait=0) for name in burst]
            harness.wait_until(lambda: sum(p.poll() is None for p in self.processes) == 1, 120, f"{label} to end")
            player = player or next(p for p in starts if p.poll() is None)
            self.assertIsNone(player.poll(), "more than one player ran")
            self.assertEqual([0] * len(burst), [0 if p is player else p.returncode for p in starts], label)
            expected = sorted(map(self.path, burst))
            harness.wait_until(lambda: sorted(path for path, _, _ in harness.read_playlist(self.current_playlist_path))
                               == expected and self.mci_opens(player)[-1] in expected and self.is_playing(), 90,
                               f"all files of {label} in the list, one of them playing")
            self.assertEqual(1, len(self.mci_opens(player)) - opened, f"{label}: the first track opened again")
        self.assert_no_box(harness.ERROR, wait=0.5)
        self.assert_no_box(harness.CONFIRM, wait=0.5)
        stop.set()
        self.assertEqual([], torn, "a reader saw a half-written current playlist")
        self.assertEqual([], glob.glob(os.path.join(self.work, "*.tmp")))
