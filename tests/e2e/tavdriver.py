"""Drives TAVKIT programs under Wine from outside, as a user and the window
system see them: starts an .exe, lists its windows through tavprobe.exe,
waits for conditions, presses keys and clicks with xdotool, grabs pixels.

Environment (set by scripts/test.sh): DISPLAY, WINEPREFIX, TAV_WIN_BUILD_DIR.
"""
import os
import re
import subprocess
import tempfile
import time

BUILD = os.environ.get("TAV_WIN_BUILD_DIR") or os.path.join(
    os.path.dirname(__file__), "..", "..", "build", "win")


def exe(name):
    return os.path.join(BUILD, name)


def to_windows_path(path):
    """Path of a Linux file as a Wine program sees it (drive Z:)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def quiet(command, timeout=30):
    """Runs a Wine helper with no pipes: a Wine service started meanwhile can
    inherit a pipe and hold it open long after the helper ended."""
    return subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, timeout=timeout).returncode


# Every wait polls, so a generous limit costs nothing while things work; it only
# keeps a slow or busy machine (a shared CI runner) from failing a test that
# would have passed a moment later. TAV_E2E_SLACK scales every limit.
SLACK = float(os.environ.get("TAV_E2E_SLACK", "3"))


def wait_until(condition, timeout=10.0, interval=0.05, what="condition"):
    """Polls `condition` until it returns a true value; returns that value."""
    deadline = time.monotonic() + timeout * SLACK
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(interval)


class Window:
    def __init__(self, line):
        hwnd, pid, cls, title, client, outer, foreground = line.split("\t")
        self.foreground = foreground == "1"
        self.hwnd = int(hwnd)
        self.pid = int(pid)
        self.cls = cls
        self.title = title
        self.client = tuple(int(v) for v in client.split(","))  # client area on screen: x, y, w, h
        self.outer = tuple(int(v) for v in outer.split(","))    # whole window on screen

    def __repr__(self):
        return "Window(%s %r %r %s)" % (self.hwnd, self.cls, self.title, self.client)


def windows():
    """Visible top-level windows of every program in this Wine prefix."""
    with tempfile.NamedTemporaryFile(prefix="tavprobe", suffix=".txt") as f:
        quiet(["wine", exe("tavprobe.exe"), "list", to_windows_path(f.name)])
        with open(f.name, encoding="utf-8", errors="replace") as listing:
            out = listing.read()
    return [Window(l) for l in out.replace("\r", "").splitlines() if l.count("\t") == 6]


def find_windows(cls=None, title=None):
    return [w for w in windows()
            if (cls is None or w.cls == cls) and (title is None or w.title == title)]


def wait_window(cls=None, title=None, timeout=15.0):
    return wait_until(lambda: (find_windows(cls, title) or [None])[0], timeout,
                      what="window class=%r title=%r" % (cls, title))


def post(window, message, wparam=0, lparam=0):
    quiet(["wine", exe("tavprobe.exe"), "post", str(window.hwnd), str(message), str(wparam),
           str(lparam)])


def raise_window(window):
    """Puts a window on top of the others without activating it; its newly
    shown parts are repainted afterwards, so poll what is read from them."""
    quiet(["wine", exe("tavprobe.exe"), "raise", str(window.hwnd)])


def child_texts(window):
    """The texts of a window's child windows (a message box's text and buttons)."""
    with tempfile.NamedTemporaryFile(prefix="tavprobe", suffix=".txt") as f:
        quiet(["wine", exe("tavprobe.exe"), "texts", str(window.hwnd), to_windows_path(f.name)])
        with open(f.name, encoding="utf-8", errors="replace") as listing:
            return [l for l in listing.read().replace("\r", "").splitlines()]


def focus(title):
    """Gives the keyboard focus to a top-level window by clicking its caption,
    as a user would. (No window manager runs; Wine draws the frames itself.)"""
    w = wait_window(title=title)
    x, y, width, height = w.outer
    # A click can land before the window is ready to take it (a message box
    # that is still being laid out, a window that another copy just covered);
    # click again until the window is the foreground one.
    deadline = time.monotonic() + 10 * SLACK
    while not _clicked_to_front(w, x + min(width // 2, 60), y + 8):
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for focus on %r" % title)
        raise_window(w)
    # A window that activates itself (a message box) can race the click: Wine
    # then counts it foreground while X keeps the keys on the window clicked
    # before, and a second click changes nothing. Hand X the keys directly.
    wait_until(lambda: _keyboard_on(title), 10, what="keys to %r" % title)
    return w


def _clicked_to_front(w, x, y):
    """Clicks at (x, y); true once w is the foreground window, within 3 s."""
    click(x, y)
    settle = time.monotonic() + 3
    while time.monotonic() < settle:
        if any(v.hwnd == w.hwnd and v.foreground for v in windows()):
            return True
        time.sleep(0.05)
    return False


def _keyboard_on(title):
    focused = subprocess.run(["xdotool", "getwindowfocus", "getwindowname"], capture_output=True,
                             text=True).stdout.strip()
    if focused == title:
        return True
    found = subprocess.run(["xdotool", "search", "--name", "^%s$" % re.escape(title)],
                           capture_output=True, text=True).stdout.split()
    if found:
        subprocess.run(["xdotool", "windowfocus", found[0]])
    return False


def press(title, *keys):
    focus(title)
    for k in keys:
        subprocess.run(["xdotool", "key", k], check=True)


def click(x, y, button=1):
    # No --sync: it waits for the pointer to move, which never happens when it
    # is already there.
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", str(button)], check=True)


def grab(x, y, w, h):
    """Screen pixels of a rectangle as rows of (r, g, b)."""
    with tempfile.NamedTemporaryFile(suffix=".ppm") as f:
        subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y),
                        "+repage", "-depth", "8", "ppm:" + f.name], check=True)
        with open(f.name, "rb") as ppm:
            data = ppm.read()
    # binary PPM: P6 <w> <h> 255, one whitespace byte, then raw bytes (which
    # may themselves start with whitespace values)
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+\d+\s", data)
    width, height, raw = int(header.group(1)), int(header.group(2)), data[header.end():]
    return [[tuple(raw[(j * width + i) * 3:(j * width + i) * 3 + 3]) for i in range(width)]
            for j in range(height)]


class Program:
    """One running copy of a TAVKIT executable under Wine."""

    def __init__(self, name="tavtest.exe", mode=None, cwd=None, env=None):
        self.log = tempfile.NamedTemporaryFile(prefix="tavlog", suffix=".txt", delete=False).name
        e = dict(os.environ)
        e["TAVTEST_LOG"] = to_windows_path(self.log)
        if mode:
            e["TAVTEST_MODE"] = mode
        e.update(env or {})
        self.process = subprocess.Popen(["wine", exe(name)], cwd=cwd or tempfile.gettempdir(),
                                        env=e, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)

    def events(self):
        try:
            with open(self.log, errors="replace") as f:
                return [l.rstrip("\r\n") for l in f]
        except FileNotFoundError:
            return []

    def wait_event(self, event, timeout=15.0):
        return wait_until(lambda: event in self.events(), timeout, what="event %r" % event)

    def wait(self, timeout=15.0):
        return self.process.wait(timeout=timeout * SLACK)

    def running(self):
        return self.process.poll() is None

    def kill(self):
        if self.running():
            self.process.kill()
            self.process.wait()

    def close(self):
        self.kill()
        # Tests run one at a time: wait until the windows of a killed copy are
        # gone, so the next test cannot mistake them for its own.
        try:
            wait_until(lambda: not any(w.cls.startswith("tav") for w in windows()), 10,
                       what="windows of the ended program gone")
        except AssertionError:
            pass
        try:
            os.unlink(self.log)
        except OSError:
            pass


def kill_all_programs():
    """Ends every Windows program of the prefix (leftovers of a failed test)."""
    for w in windows():
        if w.cls.startswith("tavkit_mw"):
            post(w, 0x0010)  # WM_CLOSE: default handling destroys the main window
    wait_until(lambda: not any(w.cls.startswith("tavkit_mw") for w in windows()), 10,
               what="no programs left")
