"""Shared tools of the end-to-end tests: the real player.exe under Wine, driven as the shell,
another process or a user would drive it, in the environment that scripts/test.sh provides."""
import math
import os
import re
import shutil
import struct
import subprocess
import tempfile
import time
import unittest
import wave

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
# The ids and messages of resources/resource.h and base/player_globals.h (IDM_EXIT, WM_APP_PLAY, ...)
# and the names of base/player_globals.cpp (programTitle, seekWindowClassName, ...).
for _file in ("resources/resource.h", "base/player_globals.h", "base/player_globals.cpp"):
    with open(os.path.join(ROOT, _file), encoding="utf-8") as _src:
        _source = _src.read()
    for _name, _base, _offset in re.findall(r"^#define (\w+) \(?(WM_APP|\d+)(?: \+ (\d+))?\)?$", _source, re.M):
        globals()[_name] = (0x8000 if _base == "WM_APP" else int(_base)) + int(_offset or 0)
    globals().update(re.findall(r'^const wchar_t (\w+)\[\] = L"(.*)";$', _source, re.M))
PLAYER_TITLE = programTitle  # noqa: F821
WM_COMMAND = 0x0111
# The one tray icon of the 1024x700 Wine desktop.
ICON_X, ICON_Y = 1013, 690
# The logon name that begins the names of the files beside the program.
USER = "root" if os.getuid() == 0 else os.environ.get("USER", "root")
# A trace line of Wine's MCI: mciSendStringW (L"play all notify", ...); inside, \\ \" and \65e5 (日).
MCI_COMMAND = re.compile(r'mciSendStringW \(L"((?:[^"\\]|\\.)*)"')
MCI_ESCAPE = re.compile(r'\\(\\|"|[0-9a-f]{4})')


def require_environment():
    """A test fails, never skips, when its environment is missing."""
    missing = [name for name in ("DISPLAY", "WINEPREFIX", "PULSE_SERVER", "VELMORIS_PLAYER", "VELMORIS_PROBE")
               if not os.environ.get(name)] + [tool for tool in ("wine", "xdotool", "lame") if not shutil.which(tool)]
    if missing:
        raise AssertionError("the end-to-end tests need scripts/test.sh and scripts/install-deps.sh; missing: "
                             + ", ".join(missing))


def windows_path(path):
    """Z:\\... form of a Linux path, as Wine shows it to programs."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wait_until(predicate, timeout=10.0, interval=0.1, message="condition"):
    deadline = time.monotonic() + timeout
    while not (value := predicate()):
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {message}")
        time.sleep(interval)
    return value


def stays(predicate, seconds):
    """True when predicate holds over the whole period (polled)."""
    deadline = time.monotonic() + seconds
    while predicate():
        if time.monotonic() > deadline:
            return True
        time.sleep(0.1)
    return False


def xdotool(*args):
    """A real user's mouse and keyboard on the test display."""
    subprocess.run(["xdotool", *map(str, args)], check=True, timeout=10)


def root_window():
    """Id of the X root window, for moving the keyboard focus off Wine's taskbar."""
    info = subprocess.run(["xwininfo", "-root"], capture_output=True, text=True, check=True, timeout=10).stdout
    return info.split("Window id:")[1].split()[0]


def make_wav(path, seconds=1.0, frequency=440.0, rate=8000):
    with wave.open(path, "wb") as out:
        out.setparams((1, 2, rate, 0, "NONE", "not compressed"))
        out.writeframes(b"".join(struct.pack("<h", int(8000 * math.sin(2 * math.pi * frequency * i / rate)))
                                 for i in range(int(seconds * rate))))
    return path


def make_mp3(path, seconds=1.0, frequency=440.0):
    wav_path = make_wav(path[:-4] + ".source.wav", seconds, frequency, rate=22050)
    subprocess.run(["lame", "--quiet", "-b", "32", wav_path, path], check=True)
    os.remove(wav_path)
    return path


def utf16_playlist(entries):
    """Bytes of a playlist file as the player writes it: FF FE, then path TAB start TAB end CR LF."""
    return b"\xff\xfe" + "".join(f"{path}\t{start}\t{end}\r\n" for path, start, end in entries).encode("utf-16-le")


def read_playlist(path):
    """Entries (path, start, end) of a playlist file as the player writes it."""
    with open(path, "rb") as src:
        data = src.read()
    if not data.startswith(b"\xff\xfe"):
        raise AssertionError(f"{path} does not start with the UTF-16LE byte-order mark")
    return [(path, int(start), int(end)) for path, start, end in
            (line.split("\t") for line in data[2:].decode("utf-16-le").split("\r\n")[:-1])]


class PlayerTestCase(unittest.TestCase):
    """Each test gets a folder of its own with a copy of player.exe, so that the settings and
    the current-playlist file beside the program belong to that test alone."""

    def setUp(self):
        require_environment()
        base = os.path.join(os.environ.get("VELMORIS_BUILD_DIR", os.getcwd()), "e2e-work")
        os.makedirs(base, exist_ok=True)
        self.work = tempfile.mkdtemp(prefix=self.id().split(".")[-1][:40] + "-", dir=base)
        self.player_exe = shutil.copy(os.environ["VELMORIS_PLAYER"], os.path.join(self.work, "player.exe"))
        self.settings_path = os.path.join(self.work, f"{USER} Velmoris Player.ini")
        self.current_playlist_path = os.path.join(self.work, f"{USER} playlist.tsv")
        self.processes = []
        self.addCleanup(self.cleanup)

    def path(self, name):
        return windows_path(os.path.join(self.work, name))

    def media(self, name, seconds=1.0, frequency=440.0):
        return (make_mp3 if name.endswith(".mp3") else make_wav)(os.path.join(self.work, name), seconds, frequency)

    def write_settings(self, **values):
        with open(self.settings_path, "w", newline="") as out:
            out.write("".join(f"{line}\r\n" for line in ["[OPTION]"] + [f"{k}={v}" for k, v in values.items()]))

    def read_settings(self):
        if not os.path.exists(self.settings_path):
            return {}
        with open(self.settings_path, encoding="latin-1") as src:
            return dict(line.strip().split("=", 1) for line in src if "=" in line)

    def write_current_playlist(self, entries):
        with open(self.current_playlist_path, "wb") as out:
            out.write(utf16_playlist(entries))

    def start_player(self, *args, trace_mci=False, wait=True):
        env = dict(os.environ, WINEDEBUG="trace+mci") if trace_mci else None
        with open(os.path.join(self.work, f"player-{len(self.processes)}.log"), "wb") as log:
            process = subprocess.Popen(["wine", self.player_exe, *args], cwd=self.work, env=env,
                                       stdout=subprocess.DEVNULL, stderr=log)
        process.log_path = log.name
        self.processes.append(process)
        if wait:
            self.wait_for_player()
        return process

    def later_start(self, *args, timeout=30):
        """Runs a second start to its end and returns its exit code."""
        return subprocess.run(["wine", self.player_exe, *args], cwd=self.work, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=timeout).returncode

    def probe(self, *args, timeout=30):
        """Runs the probe helper (probe.cpp); returns (exit code, answer text)."""
        out = os.path.join(self.work, "probe.out")
        if os.path.exists(out):
            os.remove(out)
        code = subprocess.run(["wine", os.environ["VELMORIS_PROBE"], "--out", windows_path(out), *map(str, args)],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout).returncode
        if not os.path.exists(out):
            return code, ""
        with open(out, encoding="utf-8") as src:
            return code, src.read().strip()

    def probe_ok(self, failure, *args, timeout=30):
        """The answer to a probe verb that must succeed."""
        code, text = self.probe(*args, timeout=timeout)
        self.assertEqual(0, code, failure)
        return text

    def send(self, message, wparam=0, lparam=0):
        return int(self.probe_ok(f"no player answered message {message:#x}", "send", message, wparam, lparam))

    def post(self, message, wparam=0, lparam=0):
        self.probe_ok(f"could not post message {message:#x} to the player", "post", message, wparam, lparam)

    def command(self, command_id):
        self.post(WM_COMMAND, command_id)

    def is_playing(self):
        return self.send(WM_APP_IS_PLAYING) == 1  # noqa: F821

    def wait_for_player(self, timeout=20):
        self.probe_ok("the player's main window did not appear", "wait-player", timeout * 1000, timeout=timeout + 10)

    def wait_for_box(self, caption, timeout=10, verb="box"):
        """Text of the message box with this caption, which is then closed (OK, or No)."""
        return self.probe_ok(f"no message box '{caption}' appeared", verb, caption, timeout * 1000,
                             timeout=timeout + 10)

    def answer_box_yes(self, caption, timeout=10):
        return self.wait_for_box(caption, timeout, verb="box-yes")

    def assert_no_box(self, caption, wait=1.5):
        code, text = self.probe("box", caption, int(wait * 1000))
        self.assertNotEqual(0, code, f"unexpected message box '{caption}': {text}")

    def set_dialog_text(self, dialog, control, text, timeout=30):
        """WM_SETTEXT to a control of the dialog found by its caption or by a text inside it."""
        self.probe_ok(f"could not type into control {control:#x} of '{dialog}'",
                      "dialog-set-text", dialog, control, text, timeout * 1000, timeout=timeout + 20)

    def press_dialog_ok(self, dialog, timeout=30):
        self.probe_ok(f"could not press OK in '{dialog}'", "dialog-ok", dialog, timeout * 1000, timeout=timeout + 20)

    def window(self, class_name, title, timeout=10):
        """Rectangle (left, top, right, bottom) and flags (visible, foreground) of a window."""
        text = self.probe_ok(f"no window '{title}' of class '{class_name}' appeared",
                             "window", class_name, title, timeout * 1000, timeout=timeout + 10)
        return tuple(map(int, text.split()[:4])), dict(item.split("=") for item in text.split()[4:])

    def wait_list_rests(self, seconds=1.7):
        """Until the current playlist has not changed for this long: a later start with files then
        replaces the list instead of joining it as files opened together do."""
        wait_until(lambda: time.time() - os.path.getmtime(self.current_playlist_path) > seconds,
                   timeout=seconds + 10, message="the current playlist to rest")

    def exit_player(self, process, timeout=20):
        self.command(IDM_EXIT)  # noqa: F821
        return process.wait(timeout=timeout)

    def mci_commands(self, process):
        """Every MCI command string the player sent so far, in order (needs trace_mci)."""
        with open(process.log_path, "rb") as src:
            text = src.read().decode("utf-8", "replace")
        return [MCI_ESCAPE.sub(lambda e: chr(int(e[1], 16)) if len(e[1]) == 4 else e[1], m[1])
                for m in MCI_COMMAND.finditer(text)]

    def mci_opens(self, process):
        """Files named by the player's MCI "open" commands so far, in order (needs trace_mci)."""
        return [c.split('"')[1] for c in self.mci_commands(process) if c.startswith('open "')]

    def opened_names(self, process):
        return [os.path.basename(path.replace("\\", "/")) for path in self.mci_opens(process)]

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
        xdotool("windowfocus", root_window(), "mousemove", rectangle[0] + 30, rectangle[1] + 70)
        return rectangle

    def open_menus(self):
        return int(self.probe_ok("could not count the menus", "count-windows", "#32768"))

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
                self.probe("command", IDM_EXIT)  # noqa: F821
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        self.probe("close-boxes")
