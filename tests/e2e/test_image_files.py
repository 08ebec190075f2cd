"""Files written by the library open in an independent decoder (ImageMagick)
with the pixels they hold and the storage their image calls for: 24-bit
colour from 32-bit images, indexed colour with the colour table from 8-bit
images. The Wine test that writes them leaves each file with a ".expect"
file: a line "width height bits tolerance", then the RGB bytes it should hold."""
import glob
import os
import shutil
import subprocess
import tempfile
import unittest

import tavdriver as d

FORMATS = {".bmp": "BMP", ".jpg": "JPEG", ".gif": "GIF", ".png": "PNG", ".tif": "TIFF"}


def storage(path):
    """How the file stores its pixels: 'indexed' or 'rgb' (None if unknown)."""
    ext = os.path.splitext(path)[1]
    with open(path, "rb") as f:
        head = f.read(32)
    if ext == ".bmp":
        bits = head[28] | head[29] << 8
        return {8: "indexed", 24: "rgb"}.get(bits)
    if ext == ".png":
        return {3: "indexed", 2: "rgb"}.get(head[25])
    if ext == ".gif":
        return "indexed"
    if ext == ".tif":
        photometric = subprocess.run(["identify", "-format", "%[tiff:photometric]", path],
                                     capture_output=True, text=True).stdout.strip()
        return {"palette": "indexed", "RGB": "rgb"}.get(photometric)
    return None


class SavedFiles(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="tavfiles")
        env = dict(os.environ, TAV_IMAGE_FILE_DIR=d.to_windows_path(cls.folder))
        result = subprocess.run(["wine", d.exe("tavkit_winetests.exe"),
                                 "--gtest_filter=ImageFiles.EveryFormatRoundTripsFrom32And8Bits"],
                                env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, timeout=300)
        cls.returncode = result.returncode

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def test_every_file_decodes_to_its_pixels(self):
        self.assertEqual(self.returncode, 0)
        expects = sorted(glob.glob(os.path.join(self.folder, "*.expect")))
        formats_seen = set()
        for expect in expects:
            path = expect[:-len(".expect")]
            ext = os.path.splitext(path)[1]
            name = os.path.basename(path)
            with open(expect, "rb") as f:
                w, h, bits, tolerance = (int(v) for v in f.readline().split())
                wanted = f.read()
            formats_seen.add((ext, bits))
            with self.subTest(file=name):
                info = subprocess.run(["identify", "-format", "%m %w %h", path],
                                      capture_output=True, text=True)
                self.assertEqual(info.returncode, 0, info.stderr)  # warnings count as failures
                fmt, fw, fh = info.stdout.split()
                self.assertEqual(fmt.rstrip("3"), FORMATS[ext])
                self.assertEqual((int(fw), int(fh)), (w, h))
                if ext != ".jpg":
                    self.assertEqual(storage(path), "indexed" if bits == 8 or ext == ".gif" else "rgb")
                got = subprocess.run(["convert", path, "-depth", "8", "rgb:-"],
                                     capture_output=True).stdout
                self.assertEqual(len(got), len(wanted))
                worst = max(abs(a - b) for a, b in zip(got, wanted))
                self.assertLessEqual(worst, tolerance)
        self.assertEqual({e for e, _ in formats_seen}, set(FORMATS))
        self.assertEqual({b for _, b in formats_seen}, {32, 8})


if __name__ == "__main__":
    unittest.main()
