"""The stereo converter as its user meets it: a picture dropped on the main
window, Start, then the depth map, the result pair and the display read back
from the screen and compared with values computed here from the formulas of
the depth maps and the renderers; the control panel's buttons clicked with the
mouse; Stop, break, the refused Start and the exit."""
import math
import os
import shutil
import subprocess
import tempfile
import unittest

from PIL import Image

import tavdriver as d
import xdnd_drop

MAIN = "TAVKIT 1.0"
BOX = "ButtonBox"
W, H = 128, 40  # shift W / 64 = 2 moves the levels from 128 up by one column
CONVERTER_IMAGES = ["depth(100%)", "result(100%)", "display(100%)", "S_correct(100%)"]
BUTTON = {caption: i for i, caption in enumerate([
    "--", "++", "V map", "S map", "anaglyph", "reverse depth", "I-lace1", "I-lace2", "S mod",
    "S mod+V", "Smod -", "Smod +", "Scorrect -", "Scorrect +", "ScorreSub-", "ScorreSub+",
    "gamma -", "gamma +", "load", "break", "view_num-", "view_num+", "M_shft-", "M_shft+",
    "multi_view"])}  # "reverse depth": the empty caption under "anaglyph"
LOAD_DIALOG = "Select depth_map file"
DRAG_PICTURE_JA = "\u753b\u50cf\u3092\u30c9\u30e9\u30c3\u30b0\u3057\u3066\u4e0b\u3055\u3044"
DRAG_PICTURE_EN = "Please drag a picture onto the TAVKIT window"
BLACK = (0, 0, 0)


# ---- What the converter should compute, from its formulas -------------------------

def s_correct_table(sub=0.3, correct=100):
    return [int(math.pow(i / 255.0, 1.0 / sub) * 255.0) * (255 - correct) // 255 for i in range(256)]


SCORR = s_correct_table()  # with gamma 1.0 the gamma table is the identity


def s_mod_v_level(rgb, s_mod=9):
    top, bottom = max(rgb), min(rgb)
    ms = (255 - top) * s_mod // 10 + (top - bottom)
    return SCORR[max(ms, top)]


def v_level(rgb):
    return max(rgb)


def left_view(pic, depth, c):
    """The derived view: each pixel moved left by level x c / 256, the holes
    behind nearer pixels filled with their right neighbour, positions below 0
    dropped, unwritten pixels black."""
    out = [[BLACK] * W for _ in range(H)]
    for y in range(H):
        for x in range(W):
            level = depth[y][x]
            s = level * c // 256
            if x - s >= 0:
                out[y][x - s] = pic[y][x]
            right = depth[y][x + 1] if x + 1 < W else 0
            if right < level:
                fill = pic[y][x + 1] if x + 1 < W else BLACK
                for p in range(x - s + 1, x - right * c // 256 + 1):
                    if p >= 0:
                        out[y][p] = fill
    return out


def anaglyph(pic, derived):
    return [[((299 * a[0] + 587 * a[1] + 114 * a[2]) // 1000, b[1], b[2])
             for a, b in zip(pic[y], derived[y])] for y in range(H)]


def interlace1(pic, derived, top):
    """Mode 1: the picture on even screen rows, the derived view on odd ones."""
    return [list(pic[y] if (top + y) % 2 == 0 else derived[y]) for y in range(H)]


def s_correct_plot():
    plot = [[BLACK] * 256 for _ in range(256)]
    for x, e in enumerate(SCORR):
        if e > 0:
            plot[256 - e][x] = (255, 255, 255)
    return plot


def grey(levels):
    return [[(v, v, v) for v in row] for row in levels]


def levels_of(pic, rule):
    return [[rule(p) for p in row] for row in pic]


def beside(*blocks):
    return [sum((list(b[y]) for b in blocks), []) for y in range(H)]


def make_picture(path):
    """Gradients in every channel with pale and dark areas, so the darkness
    term, the value and the correction curve all decide some levels."""
    im = Image.new("RGB", (W, H))
    im.putdata([((x * 2) % 256, (y * 6 + x) % 256, (x * y + 40) % 256)
                for y in range(H) for x in range(W)])
    im.save(path)
    return [[im.getpixel((x, y)) for x in range(W)] for y in range(H)]


# ---- Driving the program ----------------------------------------------------------

def image_titles():
    return sorted(w.title for w in d.find_windows(cls="tav_iw"))


class ConverterTest(unittest.TestCase):
    env = None

    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="tavconv")
        self.addCleanup(shutil.rmtree, self.folder, True)
        self.program = d.Program("tavkit.exe", env=self.env)
        self.addCleanup(self.program.close)
        self.box = d.wait_window(cls="tav_bb", title=BOX)
        d.wait_window(cls="tav_twi", title="TextWindow 0")

    def start(self):
        d.press(MAIN, "s")

    def start_until(self, condition, what):
        """Presses Start until `condition` holds: a Start that comes while the
        converter still runs (it has not yet seen a Stop) is ignored."""
        d.wait_until(lambda: self.start() or condition(), 15, interval=0.2, what=what)

    def shows(self, title, wanted, timeout=10):
        """Polls until the image window's client area shows `wanted` exactly
        (the window is brought forward: some lie under others)."""
        def showing():
            window = d.wait_window(cls="tav_iw", title=title)
            d.raise_window(window)
            return d.grab(*window.client) == wanted
        d.wait_until(showing, timeout, what="the pixels of " + title)

    def screen_of(self, title):
        window = d.wait_window(cls="tav_iw", title=title)
        d.raise_window(window)
        return d.grab(*window.client)

    def console(self):
        """The left part of the console (the rest lies under "S_correct")."""
        x, y, w, h = d.wait_window(cls="tav_twi", title="TextWindow 0").client
        return d.grab(x, y, 76, h)

    def click_button(self, caption):
        """Clicks a panel button; the box is brought forward first, since the
        "result" window covers its lower rows."""
        d.focus(BOX)
        x, y, w, h = self.box.client
        bw, bh = (w - 12) // 2, (h - 4 * 14) // 13
        i = BUTTON[caption]
        d.click(x + 4 + (bw + 4) * (i % 2) + bw // 2, y + 4 + (bh + 4) * (i // 2) + bh // 2)

    def click_and_see_console(self, caption):
        """Clicks a button whose only visible effect is its console line."""
        before = self.console()
        self.click_button(caption)
        d.wait_until(lambda: self.console() != before, 10, what="the console line of " + caption)

    def exit_with(self, title, key):
        d.press(title, key)
        self.assertEqual(self.program.wait(15), 0)

    def assert_pause_box(self, text):
        box = d.wait_window(title="Pause")
        self.assertEqual(image_titles(), [])
        if text:
            self.assertIn(text, d.child_texts(box))
        d.press("Pause", "Return")
        d.wait_until(lambda: not d.find_windows(title="Pause"), 10, what="the Pause box closed")


class StartWithoutPicture(ConverterTest):
    def test_start_shows_pause_and_creates_nothing_then_x_exits(self):
        self.start()
        self.assert_pause_box(DRAG_PICTURE_EN)
        self.assertEqual(image_titles(), [])
        # A refused Start leaves the program ready: Start again is refused again.
        self.start()
        self.assert_pause_box(DRAG_PICTURE_EN)
        self.exit_with(MAIN, "x")


class StartWithoutPictureJapanese(ConverterTest):
    env = {"LC_ALL": "ja_JP.UTF-8"}  # code page 932

    def test_pause_text_is_the_japanese_original(self):
        self.start()
        self.assert_pause_box(DRAG_PICTURE_JA)
        self.exit_with(MAIN, "Escape")


class Converter(ConverterTest):
    def setUp(self):
        super().setUp()
        self.pic = make_picture(os.path.join(self.folder, "pic.bmp"))
        main = d.wait_window(cls="tavkit_mw0", title=MAIN)
        x, y, w, h = main.client
        self.assertTrue(xdnd_drop.drop_files(x + w // 2, y + 2, [os.path.join(self.folder, "pic.bmp")]))
        d.wait_window(cls="tav_iw", title="000 pic.bmp(100%)")
        self.start()
        self.depth = levels_of(self.pic, s_mod_v_level)
        self.derived = left_view(self.pic, self.depth, W // 64)
        self.assertNotEqual(self.derived, self.pic)  # else "--" and "++" would show nothing
        # The first conversion ends with the anaglyph.
        self.shows("display(100%)", anaglyph(self.pic, self.derived), timeout=15)

    def display_width(self):
        return d.wait_window(cls="tav_iw", title="display(100%)").client[2]

    def assert_first_conversion(self):
        self.shows("depth(100%)", grey(self.depth))
        self.shows("result(100%)", beside(self.derived, self.pic))
        self.shows("display(100%)", anaglyph(self.pic, self.derived))

    def test_start_lays_out_and_fills_the_four_images_then_x_exits(self):
        # The picture has levels on both sides of 128 (shift 2 moves only those
        # from 128 up), and darkness or value decides some of them.
        flat = [v for row in self.depth for v in row]
        self.assertTrue(min(flat) < 60 and max(flat) > 128)
        places = {w.title: (w.outer[:2], w.client[2:]) for w in d.find_windows(cls="tav_iw")}
        self.assertEqual(places, {
            "000 pic.bmp(100%)": ((216, 140), (W, H)),
            "depth(100%)": ((422, 0), (W, H)),
            "result(100%)": ((0, 308), (2 * W, H)),
            "display(100%)": ((500, 50), (W, H)),
            "S_correct(100%)": ((300, 0), (256, 256)),
        })
        self.shows("S_correct(100%)", s_correct_plot())
        self.assert_first_conversion()
        depth_on_screen = self.screen_of("depth(100%)")
        self.assertTrue(all(r == g == b for row in depth_on_screen for r, g, b in row))
        # X in the control panel ends the program while the converter runs.
        self.exit_with(BOX, "x")

    def test_depth_and_output_buttons_then_stop_and_start_again(self):
        self.click_button("V map")
        v_depth = levels_of(self.pic, v_level)
        v_derived = left_view(self.pic, v_depth, W // 64)
        self.shows("depth(100%)", grey(v_depth))
        self.shows("result(100%)", beside(v_derived, self.pic))

        self.click_button("anaglyph")
        self.assertNotEqual(v_derived, self.derived)
        self.shows("display(100%)", anaglyph(self.pic, v_derived))

        self.click_button("I-lace1")
        top = d.wait_window(cls="tav_iw", title="display(100%)").outer[1]
        self.shows("display(100%)", interlace1(self.pic, v_derived, top))

        # Views 0..3 move left by 16, 12, 8 and 4 columns (M_shift = W / 32),
        # view 4 is the picture; the right views lie off the screen.
        self.click_button("multi_view")
        d.wait_until(lambda: self.display_width() == 9 * W, 10, what="the multi-view strip")
        views = [left_view(self.pic, v_depth, (4 - k) * (W // 32)) for k in range(4)] + [self.pic]
        d.wait_until(lambda: [row[:5 * W] for row in self.screen_of("display(100%)")] == beside(*views),
                     10, what="the views")

        # Stop ends the loop and keeps the images; Start reuses them.
        d.press(MAIN, "c")
        self.start_until(lambda: self.display_width() == W, "a new first conversion")
        self.assert_first_conversion()
        self.assertEqual(image_titles(), sorted(CONVERTER_IMAGES + ["000 pic.bmp(100%)"]))

    def test_shift_buttons_rerender_the_result_and_stop_at_zero_then_esc_exits(self):
        # Shift 1 moves no level (255 x 1 / 256 < 1): the derived view is the picture.
        self.click_button("--")
        self.shows("result(100%)", beside(self.pic, self.pic))
        self.click_and_see_console("--")  # 0
        self.click_and_see_console("--")  # still 0: the clamp
        self.click_and_see_console("++")  # 1
        self.click_button("++")           # 2, as at Start
        self.shows("result(100%)", beside(self.derived, self.pic))
        self.exit_with(MAIN, "Escape")

    def test_load_and_reverse_depth(self):
        # A cancelled dialog changes nothing; the loop goes on.
        self.click_button("load")
        d.wait_window(title=LOAD_DIALOG)
        d.press(LOAD_DIALOG, "Escape")
        d.wait_until(lambda: not d.find_windows(title=LOAD_DIALOG), 10, what="the dialog closed")
        # A file smaller than the picture replaces the top left of the depth
        # map; while the depth direction is reversed it is used as 255 - level.
        self.click_and_see_console("reverse depth")
        path = os.path.join(self.folder, "map.png")
        Image.new("RGB", (60, 30), (0, 200, 90)).save(path)
        self.click_button("load")
        d.focus(LOAD_DIALOG)  # the name box has the keys
        subprocess.run(["xdotool", "type", d.to_windows_path(path)], check=True)
        subprocess.run(["xdotool", "key", "Return"], check=True)
        loaded = [[(0, 200, 90) if x < 60 and y < 30 else (v, v, v) for x, v in enumerate(row)]
                  for y, row in enumerate(self.depth)]
        self.shows("depth(100%)", loaded)
        reversed_levels = [[255 - max(p) for p in row] for row in loaded]
        self.shows("result(100%)", beside(left_view(self.pic, reversed_levels, W // 64), self.pic))
        # A depth map computed while reversed is stored reversed.
        self.click_button("V map")
        self.shows("depth(100%)", grey(levels_of(self.pic, lambda p: 255 - max(p))))

    def test_break_closes_the_five_images_then_start_is_refused(self):
        self.click_button("break")
        d.wait_until(lambda: image_titles() == [], 10, what="the images closed")
        self.start()
        self.assert_pause_box(None)
        self.exit_with(MAIN, "x")


if __name__ == "__main__":
    unittest.main(verbosity=2)
