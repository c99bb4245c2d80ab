"""Many starts at once, as the shell makes them for a multi-selection (one process per file):
they end as one player, no file is lost, files opened together become one list, and a later
burst replaces it. The current playlist is never seen half written."""
import glob
import os
import shutil
import subprocess
import threading
import time

import harness


class BurstTest(harness.PlayerTestCase):
    def launch(self, names):
        """Starts one process per file, all at once; returns them and the time of the last start."""
        processes = [self.start_player(harness.windows_path(os.path.join(self.work, name)), wait=False)
                     for name in names]
        return processes, time.monotonic()

    def wait_whole_list(self, names, last_start, label):
        expected = sorted(harness.windows_path(os.path.join(self.work, name)) for name in names)

        def whole_list_playing():
            return (sorted(path for path, _, _ in harness.read_playlist(self.current_playlist_path)) == expected
                    and self.is_playing())

        harness.wait_until(whole_list_playing, timeout=90, interval=0.2, message=f"all {len(names)} files of {label}")
        print(f"\n{label}: {len(names)} starts, whole list playing {time.monotonic() - last_start:.1f} s "
              "after the last start", flush=True)

    def watch_current_playlist(self):
        """Reads the current playlist over and over in a thread; returns (stop, torn reads, reads)."""
        stop, torn, reads = threading.Event(), [], [0]

        def read():
            while not stop.is_set():
                try:
                    harness.read_playlist(self.current_playlist_path)
                    reads[0] += 1
                except FileNotFoundError:
                    pass
                except (AssertionError, ValueError, UnicodeDecodeError) as error:
                    torn.append(repr(error))
                time.sleep(0.002)  # leaves the cores to the starts

        watcher = threading.Thread(target=read)
        watcher.start()
        self.addCleanup(watcher.join)
        self.addCleanup(stop.set)
        return stop, torn, reads

    def test_bursts_of_starts_make_one_player_and_one_list(self):
        source = self.media("source.wav", seconds=20)
        names = [f"track {i:02}.wav" for i in range(32)]
        for name in names:
            shutil.copy(source, os.path.join(self.work, name))
        stop, torn, reads = self.watch_current_playlist()

        first, last_start = self.launch(names[:8])
        harness.wait_until(lambda: sum(p.poll() is not None for p in first) == 7, timeout=60,
                           message="all first starts but one to end")
        players = [p for p in first if p.poll() is None]
        self.assertEqual(1, len(players), "more than one player runs")
        self.assertEqual([0] * 7, [p.returncode for p in first if p.poll() is not None])
        self.wait_whole_list(names[:8], last_start, "8 first starts")

        for label, burst in (("12 later starts", names[8:20]), ("12 later starts 3 s later", names[20:32])):
            self.wait_list_rests(3.0)
            later, last_start = self.launch(burst)
            for process in later:
                self.assertEqual(0, process.wait(timeout=120), label)
            self.wait_whole_list(burst, last_start, label)
            self.assertIsNone(players[0].poll())

        self.assert_no_box("エラー - Velmoris Player", wait=0.5)
        self.assert_no_box("確認 - Velmoris Player", wait=0.5)
        stop.set()
        self.assertEqual([], torn, "a reader saw a half-written current playlist")
        self.assertEqual([], glob.glob(os.path.join(self.work, "*.tmp")))
        print(f"current playlist read whole {reads[0]} times during the bursts", flush=True)
        self.assertEqual(0, self.exit_player(players[0]))


if __name__ == "__main__":
    harness.unittest.main()
