"""The button box as the user meets it: keys and mouse clicks in the box."""
import unittest

import tavdriver as d

BOX = "ButtonBox"


class ButtonBox(unittest.TestCase):
    def setUp(self):
        self.program = d.Program("tavtest.exe", mode="buttonbox")
        self.program.wait_event("box 6")
        self.box = d.wait_window(cls="tav_bb", title=BOX)

    def tearDown(self):
        self.program.close()

    def button_centre(self, index):
        x, y = self.box.client[:2]
        column, row = index % 3, index // 3
        return x + 4 + 102 * column + 49, y + 4 + 30 * row + 13

    def test_x_in_the_box_ends_the_program(self):
        self.assertEqual(self.box.client[2:], (310, 64))  # 3 x 2 buttons of 98 x 26
        d.press(BOX, "x")
        self.assertEqual(self.program.wait(10), 0)
        self.assertEqual(self.program.events()[-1], "end exitstate=2")

    def test_clicks_and_digits_reach_the_user_program_then_esc_exits(self):
        p = self.program
        d.press(BOX, "s")  # Start, passed on to the main window
        p.wait_event("main enter stop=0")
        d.click(*self.button_centre(4))
        d.wait_until(lambda: p.events()[-2:] == ["button 4", "clicks 1"], what="click on button 4")
        # Keys 0..9 count as clicks; 7 is beyond this box's 6 buttons, so the
        # program never takes it, and the 2 pressed after it is the next action.
        d.press(BOX, "7", "2")
        d.wait_until(lambda: p.events()[-2:] == ["button 2", "clicks 1"], what="key 2")
        d.press(BOX, "Escape")
        self.assertEqual(p.wait(10), 0)
        events = p.events()
        self.assertEqual(events[-2:], ["main return stop=1", "end exitstate=2"])
        self.assertNotIn("button 7", events)
        self.assertEqual(events.count("button 4") + events.count("button 2"), 2)


if __name__ == "__main__":
    unittest.main(verbosity=2)
