"""The program's start, run control and end, watched from outside."""
import time
import unittest

import tavdriver as d

TITLE = "TAVKIT 1.0"
WM_COMMAND = 0x0111
CMD_EXIT = 1002


class Shell(unittest.TestCase):
    def setUp(self):
        self.programs = []

    def tearDown(self):
        for p in self.programs:
            p.close()

    def start(self, mode=None):
        p = d.Program("tavtest.exe", mode=mode)
        self.programs.append(p)
        return p

    def test_main_window_and_exit_while_idle(self):
        p = self.start()
        w = d.wait_window(cls="tavkit_mw0", title=TITLE)
        self.assertEqual(w.client[2:], (240, 32))  # client area below the menu bar
        p.wait_event("setup 1")
        d.press(TITLE, "x")
        t0 = time.monotonic()
        self.assertEqual(p.wait(10), 0)
        self.assertLess(time.monotonic() - t0, 3.0 * d.SLACK)
        self.assertEqual(p.events(), ["setup 1", "end exitstate=2"])

    def test_start_stop_and_exit_while_main_polls(self):
        p = self.start("poll")
        d.wait_window(cls="tavkit_mw0", title=TITLE)
        p.wait_event("setup 1")
        d.press(TITLE, "s")
        p.wait_event("main enter stop=0")
        d.press(TITLE, "s")             # Start while running does nothing
        d.press(TITLE, "c")             # Stop: the polling main returns
        p.wait_event("main return stop=1")
        # Start, Stop, Start: whichever pass of the worker sees them, the last
        # Start runs the main hook, which always begins with StopRequested 0.
        d.press(TITLE, "s", "c", "s")
        d.wait_until(lambda: p.events()[-1] == "main enter stop=0", what="a run after the keys")
        d.press(TITLE, "Escape")        # Exit while main polls
        self.assertEqual(p.wait(10), 0)
        events = p.events()
        self.assertEqual(events[:3], ["setup 1", "main enter stop=0", "main return stop=1"])
        self.assertEqual(events[-2:], ["main return stop=1", "end exitstate=2"])
        self.assertEqual(events.count("setup 1"), 1)
        self.assertNotIn("main enter stop=1", events)

    def test_worker_with_several_windows_keeps_pumping(self):
        # A console and a panel on the worker thread: printing returns, keys work.
        p = self.start("console")
        p.wait_event("printed 1")
        d.wait_window(cls="tav_twi", title="TextWindow 0")
        d.press(TITLE, "x")
        self.assertEqual(p.wait(10), 0)

    def test_all_images_and_text_windows_open_and_close(self):
        p = self.start("all256")
        d.wait_window(cls="tavkit_mw0", title=TITLE)
        p.wait_event("setup 1")
        d.press(TITLE, "s")
        p.wait_event("main return stop=0", timeout=120)
        events = p.events()
        self.assertIn("images 256", events)
        self.assertIn("texts 256", events)
        before = [e for e in events if e.startswith("gdi before")][0].split()[-1]
        self.assertIn("gdi after " + before, events)  # 0 = 0 where the platform counts nothing
        self.assertFalse(d.find_windows(cls="tav_iw") + d.find_windows(cls="tav_twi"))
        d.press(TITLE, "x")
        self.assertEqual(p.wait(10), 0)

    def test_exit_while_main_spins_ends_after_two_seconds(self):
        p = self.start("spin")
        d.wait_window(cls="tavkit_mw0", title=TITLE)
        d.press(TITLE, "s")
        p.wait_event("main enter stop=0")
        d.press(TITLE, "x")
        t0 = time.monotonic()
        self.assertEqual(p.wait(15), 0)
        elapsed = time.monotonic() - t0
        self.assertGreater(elapsed, 1.8)
        self.assertLess(elapsed, 2.0 + 4.0 * d.SLACK)
        self.assertIn("end exitstate=2", p.events())

    def test_instance_limit_and_reuse_of_a_free_number(self):
        for i in range(10):
            self.start()
            d.wait_window(cls="tavkit_mw%d" % i)
        eleventh = self.start()
        d.wait_window(title="TAVKIT")   # "Over instance limit!" box
        d.press("TAVKIT", "Return")
        self.assertEqual(eleventh.wait(10), 1)

        copy3 = d.find_windows(cls="tavkit_mw3")[0]
        d.post(copy3, WM_COMMAND, CMD_EXIT)
        d.wait_until(lambda: not d.find_windows(cls="tavkit_mw3"), what="copy 3 gone")
        self.start()
        d.wait_window(cls="tavkit_mw3")
        for w in d.find_windows():
            if w.cls.startswith("tavkit_mw"):
                d.post(w, WM_COMMAND, CMD_EXIT)
        for p in self.programs:
            self.assertIn(p.wait(15), (0, 1))


if __name__ == "__main__":
    unittest.main(verbosity=2)
