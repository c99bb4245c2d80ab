"""Shared tools of the end-to-end tests: the real player.exe under Wine, driven as the shell,
another process or a user would drive it.

The test command (scripts/test.sh) provides the environment: an X display with the Wine
virtual desktop, a PulseAudio null sink and a Wine prefix. A test fails, never skips, when
any of it is missing.
"""
import math
import os
import shutil
import struct
import subprocess
import tempfile
import time
import unittest
import wave

WM_COMMAND = 0x0111
WM_APP_TRAY = 0x8000
WM_APP_PLAY = 0x8001
WM_APP_PAUSE = 0x8002
WM_APP_IS_PLAYING = 0x8003
WM_APP_RELOAD_PLAYLIST = 0x8004
MM_MCINOTIFY = 0x3B9

IDM_EXIT = 1001
IDM_OPEN_FILES = 1004
IDM_OPEN_FOLDER = 1005
IDM_FIRST_TRACK = 1013
IDM_REPEAT = 1014
IDM_SHUFFLE = 1015
IDM_MSG_MESSAGE_BOX = 1019
IDM_SELECT_FIRST = 2000

PLAYER_TITLE = "Velmoris Player"
# The one tray icon of the 1024x700 Wine desktop.
ICON_X, ICON_Y = 1013, 690


def require_environment():
    missing = [name for name in ("DISPLAY", "WINEPREFIX", "PULSE_SERVER", "VELMORIS_PLAYER", "VELMORIS_PROBE")
               if not os.environ.get(name)]
    if missing:
        raise AssertionError(
            "the end-to-end tests need the environment of scripts/test.sh; missing: " + ", ".join(missing))
    for tool in ("wine", "xdotool", "lame"):
        if shutil.which(tool) is None:
            raise AssertionError(f"the end-to-end tests need '{tool}' (scripts/install-deps.sh installs it)")


def windows_path(path):
    """Z:\\... form of a Linux path, as Wine shows it to programs."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wait_until(predicate, timeout=10.0, interval=0.1, message="condition"):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {message}")
        time.sleep(interval)


def xdotool(*args):
    """A real user's mouse and keyboard on the test display."""
    subprocess.run(["xdotool", *map(str, args)], check=True, timeout=10)


def root_window():
    """Id of the X root window, for moving the keyboard focus off Wine's taskbar."""
    info = subprocess.run(["xwininfo", "-root"], capture_output=True, text=True, check=True, timeout=10).stdout
    return info.split("Window id:")[1].split()[0]


def stays(predicate, seconds):
    """True when predicate holds over the whole period (polled)."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if not predicate():
            return False
        time.sleep(0.1)
    return predicate()


def make_wav(path, seconds=1.0, frequency=440.0, rate=8000):
    frames = int(seconds * rate)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(b"".join(
            struct.pack("<h", int(8000 * math.sin(2 * math.pi * frequency * i / rate))) for i in range(frames)))
    return path


def make_mp3(path, seconds=1.0, frequency=440.0):
    wav_path = path[:-4] + ".source.wav"
    make_wav(wav_path, seconds, frequency, rate=22050)
    subprocess.run(["lame", "--quiet", "-b", "32", wav_path, path], check=True)
    os.remove(wav_path)
    return path


def utf16_playlist(entries):
    """Bytes of a playlist file as the player writes it: FF FE, then path TAB start TAB end CR LF."""
    text = "".join(f"{path}\t{start}\t{end}\r\n" for path, start, end in entries)
    return b"\xff\xfe" + text.encode("utf-16-le")


def read_playlist(path):
    """Entries (path, start, end) of a playlist file as the player writes it."""
    with open(path, "rb") as src:
        data = src.read()
    if not data.startswith(b"\xff\xfe"):
        raise AssertionError(f"{path} does not start with the UTF-16LE byte-order mark")
    entries = []
    for line in data[2:].decode("utf-16-le").split("\r\n")[:-1]:
        path_field, start, end = line.split("\t")
        entries.append((path_field, int(start), int(end)))
    return entries


class PlayerTestCase(unittest.TestCase):
    """Each test gets a folder of its own with a copy of player.exe, so that the settings and
    the current-playlist file beside the program belong to that test alone."""

    def setUp(self):
        require_environment()
        self.build_dir = os.environ.get("VELMORIS_BUILD_DIR", os.getcwd())
        base = os.path.join(self.build_dir, "e2e-work")
        os.makedirs(base, exist_ok=True)
        self.work = tempfile.mkdtemp(prefix=self.id().split(".")[-1][:40] + "-", dir=base)
        self.player_exe = os.path.join(self.work, "player.exe")
        shutil.copy(os.environ["VELMORIS_PLAYER"], self.player_exe)
        self.processes = []
        self.addCleanup(self.cleanup)

    # --- files beside the program -------------------------------------------------------

    def user_name(self):
        return "root" if os.getuid() == 0 else os.environ.get("USER", "root")

    @property
    def settings_path(self):
        return os.path.join(self.work, f"{self.user_name()} Velmoris Player.ini")

    @property
    def current_playlist_path(self):
        return os.path.join(self.work, f"{self.user_name()} playlist.tsv")

    def write_settings(self, **values):
        lines = ["[OPTION]"] + [f"{key}={value}" for key, value in values.items()]
        with open(self.settings_path, "w", newline="") as out:
            out.write("\r\n".join(lines) + "\r\n")

    def read_settings(self):
        values = {}
        if os.path.exists(self.settings_path):
            with open(self.settings_path, encoding="latin-1") as src:
                for line in src:
                    if "=" in line:
                        key, value = line.strip().split("=", 1)
                        values[key] = value
        return values

    def media(self, name, seconds=1.0, frequency=440.0):
        path = os.path.join(self.work, name)
        if name.lower().endswith(".mp3"):
            return make_mp3(path, seconds, frequency)
        return make_wav(path, seconds, frequency)

    # --- processes ------------------------------------------------------------------------

    def start_player(self, *args, trace_mci=False, wait=True):
        env = dict(os.environ)
        if trace_mci:
            env["WINEDEBUG"] = "trace+mci"
        log = open(os.path.join(self.work, f"player-{len(self.processes)}.log"), "wb")
        process = subprocess.Popen(["wine", self.player_exe, *args], cwd=self.work, env=env,
                                   stdout=subprocess.DEVNULL, stderr=log)
        process.log_path = log.name
        log.close()
        self.processes.append(process)
        if wait:
            self.wait_for_player()
        return process

    def later_start(self, *args, timeout=30):
        """Runs a second start to its end and returns its exit code."""
        process = subprocess.run(["wine", self.player_exe, *args], cwd=self.work,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout)
        return process.returncode

    def probe(self, *args, timeout=30):
        """Runs the probe helper; returns (exit code, answer text)."""
        out = os.path.join(self.work, "probe.out")
        if os.path.exists(out):
            os.remove(out)
        result = subprocess.run(["wine", os.environ["VELMORIS_PROBE"], "--out", windows_path(out), *map(str, args)],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout)
        text = ""
        if os.path.exists(out):
            with open(out, encoding="utf-8") as src:
                text = src.read().strip()
        return result.returncode, text

    def send(self, message, wparam=0, lparam=0):
        code, text = self.probe("send", message, wparam, lparam)
        self.assertEqual(0, code, f"no player answered message {message:#x}")
        return int(text)

    def post(self, message, wparam=0, lparam=0):
        code, _ = self.probe("post", message, wparam, lparam)
        self.assertEqual(0, code, f"could not post message {message:#x} to the player")

    def command(self, command_id):
        code, _ = self.probe("command", command_id)
        self.assertEqual(0, code, f"could not post command {command_id} to the player")

    def is_playing(self):
        return self.send(WM_APP_IS_PLAYING) == 1

    def wait_for_player(self, timeout=20):
        code, _ = self.probe("wait-player", int(timeout * 1000), timeout=timeout + 10)
        self.assertEqual(0, code, "the player's main window did not appear")

    def wait_for_box(self, caption, timeout=10):
        """Text of the message box with this caption, which is then closed."""
        code, text = self.probe("box", caption, int(timeout * 1000), timeout=timeout + 10)
        self.assertEqual(0, code, f"no message box '{caption}' appeared")
        return text

    def answer_box_yes(self, caption, timeout=10):
        """Text of the Yes/No message box with this caption, which is then answered Yes."""
        code, text = self.probe("box-yes", caption, int(timeout * 1000), timeout=timeout + 10)
        self.assertEqual(0, code, f"no message box '{caption}' appeared")
        return text

    def dialog_texts(self, dialog, timeout=10):
        """(control id, text) of each control of the dialog found by its caption, in order (line
        breaks read as '|')."""
        code, text = self.probe("dialog-texts", dialog, int(timeout * 1000), timeout=timeout + 10)
        self.assertEqual(0, code, f"no dialog '{dialog}' appeared")
        pairs = (line.split("\t", 1) for line in text.splitlines() if "\t" in line)
        return [(int(control), control_text) for control, control_text in pairs]

    def assert_no_box(self, caption, wait=1.5):
        code, text = self.probe("box", caption, int(wait * 1000))
        self.assertNotEqual(0, code, f"unexpected message box '{caption}': {text}")

    def set_dialog_text(self, dialog, control, text, timeout=30):
        """WM_SETTEXT to a control of the dialog found by its caption or by a text inside it."""
        code, _ = self.probe("dialog-set-text", dialog, control, text, int(timeout * 1000), timeout=timeout + 20)
        self.assertEqual(0, code, f"could not type into control {control:#x} of the dialog '{dialog}'")

    def press_dialog_ok(self, dialog, timeout=30):
        code, _ = self.probe("dialog-ok", dialog, int(timeout * 1000), timeout=timeout + 20)
        self.assertEqual(0, code, f"could not press OK in the dialog '{dialog}'")

    def window(self, class_name, title, timeout=10):
        """Rectangle (left, top, right, bottom) and flags (visible, foreground, topmost) of a window."""
        code, text = self.probe("window", class_name, title, int(timeout * 1000), timeout=timeout + 10)
        self.assertEqual(0, code, f"no window '{title}' of class '{class_name}' appeared")
        rectangle = tuple(map(int, text.split()[:4]))
        flags = dict(item.split("=") for item in text.split()[4:])
        return rectangle, flags

    def wait_list_rests(self, seconds=1.7):
        """Until the current playlist has not changed for this long: a later start with files then
        replaces the list instead of joining it as files opened together do."""
        wait_until(lambda: time.time() - os.path.getmtime(self.current_playlist_path) > seconds,
                   timeout=seconds + 10, message="the current playlist to rest")

    def exit_player(self, process, timeout=20):
        self.command(IDM_EXIT)
        return process.wait(timeout=timeout)

    def mci_opens(self, process):
        """Files named by the player's MCI "open" commands so far, in order (needs trace_mci)."""
        opened = []
        with open(process.log_path, "rb") as src:
            for raw in src:
                line = raw.decode("utf-8", "replace")
                # Wine's trace escapes the quotes of the command string: open \"path\" alias sound
                for marker, closing in (('open \\"', '\\"'), ('open "', '"')):
                    if "mciSendString" in line and marker in line:
                        start = line.index(marker) + len(marker)
                        end = line.find(closing, start)
                        if end > start:
                            opened.append(line[start:end].replace("\\\\", "\\"))
                        break
        return opened

    # --- a user at the tray icon -----------------------------------------------------------

    def click_icon(self, button=1, repeat=1):
        xdotool("mousemove", ICON_X, ICON_Y, "click", "--repeat", repeat, "--delay", 80, button)

    def open_menu(self):
        """Right click on the icon; answers the menu's rectangle."""
        self.click_icon(button=3)
        rectangle, flags = self.window("#32768", "")
        self.assertEqual("1", flags["visible"])
        # Wine hands a key to the process whose X window receives it. A click on the taskbar
        # gives the taskbar the X focus; with the focus on the root window instead, keys go to
        # the window under the pointer, which is made a plain item of the menu.
        xdotool("windowfocus", root_window())
        xdotool("mousemove", rectangle[0] + 30, rectangle[1] + 70)
        return rectangle

    def open_menus(self):
        code, text = self.probe("count-windows", "#32768")
        self.assertEqual(0, code)
        return int(text)

    def choose(self, *keys):
        """Presses the access keys of a path through the menu; each but the last opens a submenu."""
        for depth, key in enumerate(keys, start=2):
            xdotool("key", key)
            if depth <= len(keys):
                wait_until(lambda: self.open_menus() >= depth, message=f"the submenu of '{key}'")

    def cleanup(self):
        self.probe("close-boxes")
        for process in self.processes:
            if process.poll() is None:
                self.probe("command", IDM_EXIT)
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        self.probe("close-boxes")
