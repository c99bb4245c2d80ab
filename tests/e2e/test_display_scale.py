"""The player at 96 DPI, then in a copy of the run's Wine prefix at 144 DPI (with a server of its own, stopped at the
end): the seek window and its digits are 1.5 times as large, the volume dialog grows, and the notification area
shows, pixel for pixel, the tray picture made for the small-icon size of the DPI; the shell stretches any other."""
import os
import shutil
import subprocess
import unittest.mock

import harness

SEEK, VOLUME = (harness.seekWindowClassName, "シーク - Velmoris Player"), ("#32770", "音量")
ICONS = os.path.join(harness.ROOT, "resources", "app.ico")


def magick(*args):  # an ImageMagick command's answer; compare answers on stderr, and 1 for "different"
    done = subprocess.run(args, capture_output=True, text=True, timeout=60)
    if done.returncode > (args[0] == "compare"):
        raise AssertionError(f"{args}: {done.stderr}")
    return done.stdout or done.stderr


class DisplayScaleTest(harness.PlayerTestCase):
    def screen(self):
        subprocess.run(["import", "-window", "root", os.path.join(self.work, "screen.png")], check=True, timeout=30)
        return os.path.join(self.work, "screen.png")

    def digit_height(self, left, top, right, bottom):  # of the dark text "00:00" in the bottom band; 0 until drawn
        third = (bottom - top) // 3
        ink = magick("convert", self.screen(), "-crop", f"{right - left}x{third}+{left}+{bottom - third}", "+repage",
                     "-fuzz", "25%", "-format", "%@", "info:")  # the box of what differs from the band's colour
        height = int(ink.split("x")[1].split("+")[0])
        return height if height < third else 0

    def tray_shows_picture(self, size):  # the icon of that size over the taskbar, in the taskbar's right end
        shot, picture, strip = self.screen(), os.path.join(self.work, "icon.png"), os.path.join(self.work, "strip.png")
        index = magick("identify", "-format", "%w ", ICONS).split().index(str(size))
        background = magick("convert", shot, "-format", "%[pixel:p{1023,699}]", "info:")
        magick("convert", f"{ICONS}[{index}]", "-background", background, "-flatten", picture)
        magick("convert", shot, "-crop", "120x60+904+640", "+repage", strip)
        return magick("compare", "-metric", "AE", "-fuzz", "3%", "-dissimilarity-threshold", str(size * size),
                      "-subimage-search", strip, picture, "null:").split()[0] == "0"  # pixels that differ

    def measure(self, dpi):  # the seek window's width and height, its digits' height; the volume dialog's size
        process = self.start_player()
        harness.wait_until(lambda: self.tray_shows_picture(16 * dpi // 96), message=f"the tray picture at {dpi} DPI")
        harness.xdotool("mousemove", 500, 300)
        self.command(harness.IDM_SEEK)
        seek = self.shown(*SEEK)[0]
        digits = harness.wait_until(lambda: self.digit_height(*seek), message="the seek window's digits")
        harness.xdotool("mousemove", 100, 600, "click", 1)
        self.wait_gone(*SEEK)
        harness.xdotool("mousemove", 500, 300)  # the dialog opens at the pointer
        self.command(harness.IDM_VOLUME)
        left, top, right, bottom = self.shown(*VOLUME, "foreground")[0]
        harness.xdotool("mousemove", 100, 600, "click", 1)
        self.wait_gone(*VOLUME)
        self.command(harness.IDM_EXIT)
        self.assertEqual(0, process.wait(timeout=30))
        return (seek[2] - seek[0], seek[3] - seek[1], digits), (right - left, bottom - top)

    def test_what_the_player_draws_follows_the_display_scale(self):
        seek, volume = self.measure(96)
        self.assertEqual((200, 60), seek[:2])
        scaled = os.path.join(self.work, "prefix-144")
        self.addCleanup(shutil.rmtree, scaled, ignore_errors=True)
        for option in ("-w", "-k"):  # its server, and the player if still there
            self.addCleanup(subprocess.run, ["wineserver", option], env=dict(os.environ, WINEPREFIX=scaled), timeout=60)
        subprocess.run(["bash", "-c", 'source "$0" && wine_env_scaled_prefix "$1" 144', os.path.join(
            harness.ROOT, "scripts", "wine-env.sh"), scaled], check=True, timeout=120)
        with unittest.mock.patch.dict(os.environ, WINEPREFIX=scaled):
            seek_144, volume_144 = self.measure(144)
        self.assertTrue(all(abs(a - b * 1.5) <= 1 for a, b in zip(seek_144, seek)), f"{seek} at 96, {seek_144} at 144")
        self.assertTrue(all(a > b for a, b in zip(volume_144, volume)), f"{volume} at 96, {volume_144} at 144")
