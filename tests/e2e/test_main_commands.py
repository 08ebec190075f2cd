"""The main window's commands watched from outside: files dropped on it by an
XDND source and a picture pasted from the X clipboard (Ctrl+V or the popup
menu) each become a new image window, numbered from the first free number;
the popup menu opens text windows."""
import os
import shutil
import subprocess
import tempfile
import unittest

from PIL import Image

import tavdriver as d
import xdnd_drop

TITLE = "TAVKIT 1.0"
JAPANESE = "\u5199\u771f 1.png"  # two kanji, a space, a digit
ACCENTED = "caf\u00e9.png"


def japanese_locale(folder):
    """Environment for a program whose system code page is 932 and whose
    Unix file names are UTF-8; the locale is generated into `folder`."""
    if not shutil.which("localedef"):
        return None
    r = subprocess.run(["localedef", "-i", "ja_JP", "-f", "UTF-8", os.path.join(folder, "ja_JP.UTF-8")],
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return {"LOCPATH": folder, "LC_ALL": "ja_JP.UTF-8"} if r.returncode == 0 else None


def picture(path, width, height, seed):
    im = Image.new("RGB", (width, height))
    im.putdata([((x * 2 + seed) % 256, (y * 3 + seed) % 256, (x + y) % 256)
                for y in range(height) for x in range(width)])
    im.save(path)
    return im


class MainWindowCommands(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="tavdrop")
        self.program = None
        self.clip = None

    def tearDown(self):
        if self.program:
            self.program.close()
        if self.clip and self.clip.poll() is None:
            self.clip.kill()
            self.clip.wait()
        shutil.rmtree(self.folder, ignore_errors=True)

    def start(self, env=None):
        self.program = d.Program("tavtest.exe", env=env)
        d.wait_window(cls="tavkit_mw0", title=TITLE)
        self.program.wait_event("setup 1")
        # Where the main window rests once its opening animation is over.
        self.main = d.wait_window(cls="tavkit_mw0", title=TITLE)

    def image_windows(self):
        return sorted((w.title for w in d.find_windows(cls="tav_iw")))

    def wait_images(self, count):
        return d.wait_until(lambda: len(self.image_windows()) >= count and self.image_windows(),
                            15, what="%d image windows" % count)

    def drop(self, *names):
        x, y, w, h = self.main.client
        # The drop point: inside the client area and on the screen.
        self.assertTrue(xdnd_drop.drop_files(x + w // 2, y + 2,
                                             [os.path.join(self.folder, n) for n in names]))

    def assert_shows(self, title, im):
        """The window shows the picture at 100 % (polled: the load and the
        repaint follow the window's creation)."""
        window = d.wait_window(cls="tav_iw", title=title)
        x, y, w, h = window.client
        self.assertEqual((w, h), im.size)
        wanted = [[im.getpixel((i, j)) for i in range(w)] for j in range(h)]
        d.wait_until(lambda: d.grab(x, y, w, h) == wanted, 10, what="the pixels of " + title)

    def test_dropped_files_become_numbered_images_and_text_is_skipped(self):
        a = picture(os.path.join(self.folder, "a.png"), 120, 90, 0)
        picture(os.path.join(self.folder, "b c.bmp"), 131, 67, 50)
        with open(os.path.join(self.folder, "notes.txt"), "w") as f:
            f.write("not a picture\n")
        self.start()
        self.drop("a.png", "notes.txt", "b c.bmp")
        self.wait_images(2)
        self.assertEqual(self.image_windows(), ["000 a.png(100%)", "001 b c.bmp(100%)"])
        # A later drop takes the next free numbers.
        self.drop("a.png")
        self.wait_images(3)
        self.assertEqual(self.image_windows()[-1], "002 a.png(100%)")
        self.assert_shows("002 a.png(100%)", a)  # the newest window is on top

    def test_non_ascii_names_load_when_the_code_page_holds_them(self):
        japanese = picture(os.path.join(self.folder, JAPANESE), 130, 40, 9)
        accented = picture(os.path.join(self.folder, ACCENTED), 130, 40, 3)
        locales = tempfile.mkdtemp(prefix="tavlocale")
        self.addCleanup(shutil.rmtree, locales, True)
        env = japanese_locale(locales)
        if not env:
            self.skipTest("no ja_JP.UTF-8 locale can be made here")
        # Code page 932 holds the kanji but not the accented letter.
        self.start(env)
        self.drop(JAPANESE, ACCENTED)
        self.wait_images(1)
        self.assertEqual(self.image_windows(), ["000 " + JAPANESE + "(100%)"])
        self.assert_shows("000 " + JAPANESE + "(100%)", japanese)
        self.program.close()
        self.program = None
        # A Western code page holds the accented letter but not the kanji.
        self.start({"LC_ALL": "C.UTF-8"})
        self.drop(JAPANESE, ACCENTED)
        self.wait_images(1)
        self.assertEqual(self.image_windows(), ["000 " + ACCENTED + "(100%)"])
        self.assert_shows("000 " + ACCENTED + "(100%)", accented)

    def put_on_clipboard(self, path):
        # -quiet keeps xclip in the foreground, so ending this process ends it.
        self.clip = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard", "-t", "image/bmp", "-i", path],
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        d.wait_until(lambda: b"image/bmp" in subprocess.run(
            ["xclip", "-selection", "clipboard", "-o", "-t", "TARGETS"],
            capture_output=True).stdout, 10, what="the picture on the X clipboard")

    def choose_from_popup(self, downs):
        """Opens the main window's popup menu and picks the item reached by
        pressing Down `downs` times (separators are skipped); the menu has the
        keyboard while it is open."""
        x, y, w, h = self.main.client
        d.click(x + w // 2, y + 2, 3)
        d.wait_until(lambda: any(m.cls == "#32768" for m in d.windows()), 10, what="the popup menu")
        subprocess.run(["xdotool", "key"] + ["Down"] * downs + ["Return"], check=True)

    def test_ctrl_v_pastes_the_clipboard_picture_as_a_new_image(self):
        path = os.path.join(self.folder, "clip.bmp")
        im = picture(path, 137, 51, 21)
        self.start()
        self.put_on_clipboard(path)
        d.press(TITLE, "ctrl+v")
        self.wait_images(1)
        self.assertEqual(self.image_windows(), ["000(100%)"])
        self.assert_shows("000(100%)", im)
        d.press(TITLE, "ctrl+v")
        self.wait_images(2)
        self.assertEqual(self.image_windows(), ["000(100%)", "001(100%)"])

    def test_popup_menu_paste(self):
        path = os.path.join(self.folder, "clip.bmp")
        im = picture(path, 140, 60, 7)
        self.start()
        self.put_on_clipboard(path)
        self.choose_from_popup(1)  # the first item: Paste
        self.wait_images(1)
        self.assert_shows("000(100%)", im)

    def test_popup_menu_text_window_opens_the_first_free_one(self):
        self.start()
        text_windows = lambda: sorted(w.title for w in d.find_windows(cls="tav_twi"))
        self.choose_from_popup(6)  # Paste, Start, Stop, Exit, Image Window, Text Window
        d.wait_until(lambda: text_windows() == ["TextWindow 0"], 10, what="text window 0")
        self.choose_from_popup(6)
        d.wait_until(lambda: text_windows() == ["TextWindow 0", "TextWindow 1"], 10, what="text window 1")

    def test_no_paste_or_drop_while_the_user_program_runs(self):
        path = os.path.join(self.folder, "clip.bmp")
        picture(path, 140, 60, 7)
        self.start()
        self.put_on_clipboard(path)
        d.press(TITLE, "s")
        self.program.wait_event("main enter stop=0")
        x, y, w, h = self.main.client
        self.assertFalse(xdnd_drop.drop_files(x + w // 2, y + 2, [path]))  # drops refused
        d.press(TITLE, "ctrl+v")  # ignored while running
        d.press(TITLE, "c")
        self.program.wait_event("main return stop=1")
        d.press(TITLE, "ctrl+v")  # handled after the one before, had that one worked
        self.wait_images(1)
        self.assertEqual(self.image_windows(), ["000(100%)"])


if __name__ == "__main__":
    unittest.main()
