"""Drops files on a window of the X display the way a file manager does: as
an XDND source (protocol version 4) offering the files as text/uri-list.

    /usr/bin/python3 xdnd_drop.py X Y FILE...

X, Y are root-window coordinates of the drop point; the target is the
topmost window there that announces XdndAware. Exit status 0 when the target
accepted and finished the drop, 1 when it refused, 2 on a timeout.

As a module: drop_files(x, y, paths) returns True when the drop was accepted.
"""
import os
import sys
import time
import urllib.parse

from Xlib import X, Xatom, display, protocol


class DropTimeout(Exception):
    pass


def uri_list(paths):
    """file:// URIs, percent-encoded (UTF-8), each line ended by CRLF."""
    lines = ["file://" + urllib.parse.quote(os.path.abspath(p)) for p in paths]
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


class _Source:
    def __init__(self, paths):
        self.d = display.Display()
        self.root = self.d.screen().root
        self.atom = {name: self.d.intern_atom(name) for name in (
            "XdndAware", "XdndEnter", "XdndPosition", "XdndStatus", "XdndDrop", "XdndLeave",
            "XdndFinished", "XdndSelection", "XdndActionCopy", "text/uri-list", "TARGETS")}
        self.data = uri_list(paths)
        self.window = self.root.create_window(-10, -10, 1, 1, 0, X.CopyFromParent,
                                              window_class=X.InputOutput)
        self.window.set_selection_owner(self.atom["XdndSelection"], X.CurrentTime)
        self.d.flush()

    def close(self):
        self.window.destroy()
        self.d.close()

    def target_at(self, x, y):
        """Topmost XdndAware window containing (x, y), with its protocol version."""
        window = self.root
        found = None
        while True:
            child = window.translate_coords(self.root, x, y).child
            if not child:
                return found
            aware = child.get_full_property(self.atom["XdndAware"], X.AnyPropertyType)
            if aware and aware.value:
                found = (child, int(aware.value[0]))
            window = child

    def send(self, target, name, values):
        event = protocol.event.ClientMessage(window=target, client_type=self.atom[name],
                                             data=(32, (values + [0] * 5)[:5]))
        target.send_event(event, event_mask=0)
        self.d.flush()

    def answer(self, request):
        """Serves a conversion of XdndSelection: the URI list, or the targets."""
        prop = request.property or request.target
        if request.target == self.atom["text/uri-list"]:
            request.requestor.change_property(prop, request.target, 8, self.data)
        elif request.target == self.atom["TARGETS"]:
            request.requestor.change_property(prop, Xatom.ATOM, 32,
                                              [self.atom["TARGETS"], self.atom["text/uri-list"]])
        else:
            prop = X.NONE
        notify = protocol.event.SelectionNotify(time=request.time, requestor=request.requestor,
                                                selection=request.selection,
                                                target=request.target, property=prop)
        request.requestor.send_event(notify, event_mask=0)
        self.d.flush()

    def wait_message(self, name, deadline):
        """Next client message `name`, serving selection requests meanwhile."""
        while True:
            while self.d.pending_events():
                event = self.d.next_event()
                if event.type == X.SelectionRequest:
                    self.answer(event)
                elif event.type == X.ClientMessage and event.client_type == self.atom[name]:
                    return event
            if time.monotonic() > deadline:
                raise DropTimeout(name)
            time.sleep(0.01)


def drop_files(x, y, paths, timeout=10.0):
    source = _Source(paths)
    try:
        found = source.target_at(x, y)
        if not found:
            return False
        target, version = found
        deadline = time.monotonic() + timeout
        me = source.window.id
        source.send(target, "XdndEnter", [me, min(version, 4) << 24, source.atom["text/uri-list"]])
        source.send(target, "XdndPosition", [me, 0, (x << 16) | y, X.CurrentTime,
                                             source.atom["XdndActionCopy"]])
        status = source.wait_message("XdndStatus", deadline)
        if not status.data[1][1] & 1:
            source.send(target, "XdndLeave", [me])
            return False
        source.send(target, "XdndDrop", [me, 0, X.CurrentTime])
        source.wait_message("XdndFinished", deadline)
        return True
    finally:
        source.close()


def main(argv):
    if len(argv) < 4:
        sys.stderr.write(__doc__)
        return 2
    try:
        return 0 if drop_files(int(argv[1]), int(argv[2]), argv[3:]) else 1
    except DropTimeout as e:
        sys.stderr.write("no %s from the target\n" % e)
        return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
