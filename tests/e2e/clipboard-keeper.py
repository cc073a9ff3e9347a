#!/usr/bin/python3
"""A clipboard keeper, as clipboard managers are: it owns the clipboard, takes it back each time
another program sets or empties it, and serves its own text to whoever asks.

    clipboard-keeper.py [--silent] LOG TEXT

--silent: it never answers a request, as a hung program would, and asserts its ownership again
every few milliseconds, so that it wins every race for the clipboard. Each request and each loss of
the clipboard is written to LOG, one line each; "ready" once it first owns the clipboard.
"""
import sys
import time

from Xlib import X, Xatom, display
from Xlib.protocol import event

silent = sys.argv[1] == "--silent"
log_path, text = sys.argv[2:] if silent else sys.argv[1:]
log = open(log_path, "a", buffering=1)

screen = display.Display()
window = screen.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
clipboard = screen.intern_atom("CLIPBOARD")
targets = screen.intern_atom("TARGETS")
utf8 = screen.intern_atom("UTF8_STRING")


def take():
    window.set_selection_owner(clipboard, X.CurrentTime)
    screen.flush()


take()
if screen.get_selection_owner(clipboard) != window:
    sys.exit("could not take the clipboard")
log.write("ready\n")

while True:
    while silent and not screen.pending_events():
        time.sleep(0.002)
        take()
    e = screen.next_event()
    if e.type == X.SelectionClear:
        log.write("lost\n")
        take()
    elif e.type == X.SelectionRequest:
        log.write("request %s\n" % screen.get_atom_name(e.target))
        if silent:
            continue
        prop = e.property or e.target
        if e.target == targets:
            e.requestor.change_property(prop, Xatom.ATOM, 32, [targets, utf8, Xatom.STRING])
        elif e.target in (utf8, Xatom.STRING):
            e.requestor.change_property(prop, e.target, 8, text.encode())
        else:
            prop = X.NONE
        e.requestor.send_event(event.SelectionNotify(time=e.time, requestor=e.requestor,
                                                     selection=e.selection, target=e.target,
                                                     property=prop))
        screen.flush()
