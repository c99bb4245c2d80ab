"""Shared tools of the end-to-end tests: the real player.exe under Wine, driven as the shell,
another process or a user would drive it, in the environment that scripts/test.sh provides."""
import math, os, pathlib, re, shutil, struct, subprocess, tempfile, time, unittest, wave  # noqa: E401

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
# The ids and messages (IDM_EXIT, WM_APP_PLAY, ...) and names (programTitle, seekWindowClassName, ...) of these files.
for _file in ("resources/resource.h", "base/player_globals.h", "base/player_globals.cpp"):
    with open(os.path.join(ROOT, _file), encoding="utf-8") as _src:
        _source = _src.read()
    for _name, _base, _offset in re.findall(r"^#define (\w+) \(?(WM_APP|\d+)(?: \+ (\d+))?\)?$", _source, re.M):
        globals()[_name] = (0x8000 if _base == "WM_APP" else int(_base)) + int(_offset or 0)
    globals().update(re.findall(r'^const wchar_t (\w+)\[\] = L"(.*)";$', _source, re.M))
ERROR, CONFIRM = "エラー - Velmoris Player", "確認 - Velmoris Player"
# The one tray icon of the 1024x700 Wine desktop.
ICON_X, ICON_Y = 1013, 690
# The logon name that begins the names of the files beside the program.
USER = "root" if os.getuid() == 0 else os.environ.get("USER", "root")
# A trace line of Wine's MCI: mciSendStringW (L"play all notify", ...); inside, \\ \" and \65e5 (日).
MCI_COMMAND = re.compile(r'mciSendStringW \(L"((?:[^"\\]|\\.)*)"')
MCI_ESCAPE = re.compile(r'\\(\\|"|[0-9a-f]{4})')


def windows_path(path):  # as Wine shows it to programs
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wait_until(predicate, timeout=20.0, message="condition"):
    deadline = time.monotonic() + timeout
    while not (value := predicate()):
        assert time.monotonic() < deadline, f"timed out after {timeout} s waiting for {message}"
        time.sleep(0.1)
    return value


def stays(predicate, seconds):  # whether predicate holds over the whole period (polled)
    deadline = time.monotonic() + seconds
    while (held := predicate()) and time.monotonic() < deadline:
        time.sleep(0.1)
    return held


def xdotool(*args):  # a real user's mouse and keyboard on the test display
    return subprocess.run(["xdotool", *map(str, args)], check=True, timeout=10, capture_output=True, text=True).stdout


def root_window():  # for moving the keyboard focus off Wine's taskbar
    return subprocess.run(["xwininfo", "-root"], capture_output=True, text=True, check=True).stdout.split()[3]


def utf16_playlist(entries):  # a playlist file as the player writes it: FF FE, then path TAB start TAB end CR LF
    return b"\xff\xfe" + "".join(f"{path}\t{start}\t{end}\r\n" for path, start, end in entries).encode("utf-16-le")


def read_playlist(path):
    assert (data := pathlib.Path(path).read_bytes()).startswith(b"\xff\xfe"), f"{path} has no UTF-16LE byte-order mark"
    return [(path, int(start), int(end)) for path, start, end in
            (line.split("\t") for line in data[2:].decode("utf-16-le").split("\r\n")[:-1])]


class PlayerTestCase(unittest.TestCase):
    """Each test has a folder with its own player.exe, settings and current playlist; a player still
    running at the end is closed by its menu command and must exit with code 0."""

    def setUp(self):
        missing = [name for name in ("DISPLAY", "WINEPREFIX", "PULSE_SERVER", "VELMORIS_PLAYER", "VELMORIS_PROBE",
                                     "wine", "xdotool", "lame") if not os.environ.get(name) and not shutil.which(name)]
        self.assertFalse(missing, "the end-to-end tests need scripts/test.sh and scripts/install-deps.sh")
        os.makedirs(base := os.path.join(os.environ.get("VELMORIS_BUILD_DIR", os.getcwd()), "e2e-work"), exist_ok=True)
        self.work = tempfile.mkdtemp(prefix=self.id().split(".")[-1][:40] + "-", dir=base)
        self.player_exe = shutil.copy(os.environ["VELMORIS_PLAYER"], os.path.join(self.work, "player.exe"))
        self.settings_path = os.path.join(self.work, f"{USER} Velmoris Player.ini")
        self.current_playlist_path = os.path.join(self.work, f"{USER} playlist.tsv")
        self.processes = []
        self.addCleanup(self.cleanup)

    def path(self, name):
        return windows_path(os.path.join(self.work, name))

    def media(self, name, seconds=1.0, frequency=440.0):  # a tone in a WAV or MP3 file; its Windows path
        path, rate = os.path.join(self.work, name), 22050 if name.endswith(".mp3") else 8000
        os.makedirs(os.path.dirname(path), exist_ok=True)
        pcm = b"".join(struct.pack("<h", int(8000 * math.sin(2 * math.pi * frequency * i / rate)))
                       for i in range(int(seconds * rate)))
        if name.endswith(".mp3"):
            subprocess.run(["lame", "--quiet", *"-r -s 22.05 -m m -b 32 -".split(), path], input=pcm, check=True)
        else:
            with wave.open(path, "wb") as out:
                out.setparams((1, 2, rate, 0, "NONE", "not compressed"))
                out.writeframes(pcm)
        return windows_path(path)

    def write(self, path, data):
        pathlib.Path(self.work, path).write_bytes(data)

    def write_settings(self, **values):
        self.write(self.settings_path, ("[OPTION]\r\n" + "".join(f"{k}={v}\r\n" for k, v in values.items())).encode())

    def read_settings(self):
        text = pathlib.Path(self.settings_path).read_text("latin-1") if os.path.exists(self.settings_path) else ""
        return dict(line.split("=", 1) for line in text.split() if "=" in line)

    def start_player(self, *args, wait=20):  # MCI traced; waits (seconds, 0: not) for its main window
        with open(os.path.join(self.work, f"player-{len(self.processes)}.log"), "wb") as log:
            process = subprocess.Popen(["wine", self.player_exe, *args], cwd=self.work, stdout=subprocess.DEVNULL,
                                       stderr=log, env=dict(os.environ, WINEDEBUG="trace+mci"))
        process.log_path = log.name
        self.processes.append(process)
        if wait:
            self.probe_ok("the player's main window did not appear", "wait-player", wait * 1000, timeout=wait + 10)
        return process

    def probe(self, *args, timeout=30):  # the helper probe.cpp; answers (exit code, answer text)
        (out := pathlib.Path(self.work, "probe.out")).write_bytes(b"")
        for _ in range(3):  # code 1: Wine, without the preloader Debian leaves out, now and then fails a start
            code = subprocess.run(["wine", os.environ["VELMORIS_PROBE"], "--out", windows_path(out), *map(str, args)],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout).returncode
            if code != 1:
                return code, out.read_text(encoding="utf-8").strip()
        return code, ""

    def probe_ok(self, failure, *args, timeout=40):  # a probe verb that must succeed; its answer
        code, text = self.probe(*args, timeout=timeout)
        self.assertEqual(0, code, failure)
        return text

    def command(self, command_id):
        self.probe_ok(f"could not post command {command_id} to the player", "command", command_id)

    def is_playing(self):
        return self.probe_ok("no player answered", "send", WM_APP_IS_PLAYING, 0, 0) == "1"  # noqa: F821

    def box(self, caption, yes=False):  # the box's text; it is then closed (OK, or No unless yes)
        return self.probe_ok(f"no message box '{caption}' appeared", "box", caption, 10000, *["yes"] * yes)

    def assert_no_box(self, caption, wait=1.5):
        code, text = self.probe("box", caption, int(wait * 1000))
        self.assertNotEqual(0, code, f"unexpected message box '{caption}': {text}")

    def dialog(self, verb, title, *args):  # dialog-ok, dialog-set-text, ...
        return self.probe_ok(f"{verb} {args} failed in '{title}'", verb, title, *args)

    def window(self, class_name, title, timeout=10):  # (left, top, right, bottom), {visible, foreground, count}
        text = self.probe_ok(f"no window '{title}' of class {class_name}", "window", class_name, title, timeout * 1000)
        return tuple(map(int, text.split()[:4])), dict(item.split("=") for item in text.split()[4:])

    def shown(self, class_name, title, state="visible", timeout=10):  # window() once it is visible (or foreground)
        return wait_until(lambda: (w := self.window(class_name, title, timeout))[1][state] == "1" and w, timeout, state)

    def wait_gone(self, class_name, title, timeout=20):
        wait_until(lambda: self.probe("window", class_name, title, 0)[0] != 0, timeout, f"'{title}' to close")

    def wait_list_rests(self, seconds=1.7):  # then a later start replaces the list, does not join it
        wait_until(lambda: time.time() - os.path.getmtime(self.current_playlist_path) > seconds,
                   timeout=seconds + 10, message="the current playlist to rest")

    def mci_commands(self, process):  # every MCI command string the player sent so far, in order
        return [MCI_ESCAPE.sub(lambda e: chr(int(e[1], 16)) if len(e[1]) == 4 else e[1], m[1]) for m in
                MCI_COMMAND.finditer(pathlib.Path(process.log_path).read_bytes().decode("utf-8", "replace"))]

    def mci_opens(self, process):  # the files opened so far, in order
        return [c.split('"')[1] for c in self.mci_commands(process) if c.startswith('open "')]

    def opened_names(self, process):
        return [os.path.basename(path.replace("\\", "/")) for path in self.mci_opens(process)]

    def click_icon(self, button=1, repeat=1):  # once the icon is there: start_player awaits the window, made first
        wait_until(lambda: self.probe("tray-exists")[0] == 0, message="the tray icon")
        xdotool("mousemove", ICON_X, ICON_Y, "click", "--repeat", repeat, "--delay", 80, button)

    def open_menu(self):  # a right click on the icon; answers the menu's rectangle
        self.click_icon(button=3)
        rectangle = self.shown("#32768", "")[0]  # the menu's window exists before it is placed and shown
        # Wine hands a key to the process whose X window receives it; a click on the taskbar gives the taskbar the
        # X focus; with the root window focused instead, keys go to the window under the pointer, set on a plain item.
        xdotool("windowfocus", root_window(), "mousemove", rectangle[0] + 30, rectangle[1] + 70)
        return rectangle

    def choose(self, *keys):  # the access keys of a path through the menu; each but the last opens a submenu
        for depth, key in enumerate(keys, start=2):
            xdotool("key", key)
            if depth <= len(keys):
                wait_until(lambda: int(self.window("#32768", "")[1]["count"]) >= depth, 20, f"the submenu of '{key}'")

    def cleanup(self):
        self.probe("send", 0x1F, 0, 0)  # WM_CANCELMODE ends a menu left open: its loop would swallow the exit
        self.probe("close-boxes")
        codes = []
        for process in (p for p in self.processes if p.poll() is None):
            self.probe("command", IDM_EXIT)  # noqa: F821
            try:
                codes.append(process.wait(timeout=20))
            except subprocess.TimeoutExpired:
                process.kill()
                codes.append(f"none: killed after {process.wait()}")
        self.probe("close-boxes")
        self.assertEqual([0] * len(codes), codes, "a player did not exit with code 0 at the end")
