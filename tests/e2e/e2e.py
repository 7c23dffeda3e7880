#!/usr/bin/python3
"""Drives the built tolka from outside, through the accessibility layer, as a
screen reader or a user would: real pointer clicks and key presses (XTest,
through the AT-SPI registry), texts and states read back over AT-SPI.

    e2e.py TOLKA close-button   convert both ways, then press the close button
    e2e.py TOLKA window-manager close the window as a window manager does

Needs a display, a session bus with AT-SPI on it, and the toolkit's
accessibility modules; run-e2e.sh sets all of that up. Exit status 0 when
every check passed.
"""
import ctypes
import ctypes.util
import os
import subprocess
import sys
import time

import pyatspi

TIMEOUT_S = 10.0
POLL_S = 0.02

# The window names no widget, so widgets are told apart by role and by their
# order in the tree, which follows the packing order of the window.
ENTRY_ORDER = ["entry2", "entry3", "entry4", "entry5", "entry6", "entry7", "entry1",
               "entry8", "entry9", "entry10", "entry11", "entry12", "entry13", "entry14",
               "entry15", "entry16"]
EDITABLE = {"entry2", "entry3", "entry4", "entry5", "entry6", "entry7", "entry8"}
RADIO_ORDER = ["E", "O", "N", "S"]
# The close button is the toolkit's stock one, labelled by the toolkit's own
# catalogue: "Close" under the fixed C.UTF-8 locale the test runs in.
BUTTON_ORDER = ["Calculer QTH locator étendu", "Calculer DMS", "Close"]

XK_BACKSPACE = 0xFF08
XK_END = 0xFF57


class Failure(Exception):
    pass


def wait_for(what, probe, timeout=TIMEOUT_S):
    """Polls probe() until it returns something true; fails after timeout."""
    deadline = time.monotonic() + timeout
    last = None
    while time.monotonic() < deadline:
        try:
            last = probe()
        except Failure:
            raise
        except Exception as error:  # the tree may still be under construction
            last = error
        if last and not isinstance(last, Exception):
            return last
        time.sleep(POLL_S)
    raise Failure(f"timed out waiting for {what} (last seen: {last!r})")


def check(condition, message):
    if not condition:
        raise Failure(message)
    print(f"ok: {message}")


def walk(accessible):
    yield accessible
    for child in accessible:
        if child is not None:
            yield from walk(child)


def find_application(pid):
    for application in pyatspi.Registry.getDesktop(0):
        if application is not None and application.get_process_id() == pid:
            return application
    return None


class Window:
    """The program's frame and its widgets, found by role and order."""

    def __init__(self, pid):
        application = wait_for("the program on the accessibility bus",
                               lambda: find_application(pid))
        self.frame = wait_for("a showing frame", lambda: self._showing_frame(application))
        self.entries, self.radios, self.buttons = wait_for("the widgets", self._widgets)

    @staticmethod
    def _showing_frame(application):
        for child in application:
            if (child is not None and child.getRole() == pyatspi.ROLE_FRAME and
                    child.getState().contains(pyatspi.STATE_SHOWING)):
                return child
        return None

    def _widgets(self):
        nodes = list(walk(self.frame))
        texts = [n for n in nodes if n.getRole() == pyatspi.ROLE_TEXT]
        radios = [n for n in nodes if n.getRole() == pyatspi.ROLE_RADIO_BUTTON]
        buttons = [n for n in nodes if n.getRole() == pyatspi.ROLE_PUSH_BUTTON]
        if len(texts) != len(ENTRY_ORDER) or len(radios) != 4 or len(buttons) != 3:
            return None
        if [r.name for r in radios] != RADIO_ORDER:
            raise Failure(f"radio buttons {[r.name for r in radios]}, expected {RADIO_ORDER}")
        if [b.name for b in buttons] != BUTTON_ORDER:
            raise Failure(f"push buttons {[b.name for b in buttons]}, expected {BUTTON_ORDER}")
        return (dict(zip(ENTRY_ORDER, texts)), dict(zip(RADIO_ORDER, radios)),
                {"encode": buttons[0], "decode": buttons[1], "close": buttons[2]})

    def text(self, entry):
        return self.entries[entry].queryText().getText(0, -1)


def has_state(accessible, state):
    return accessible.getState().contains(state)


def centre(accessible):
    extents = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return extents.x + extents.width // 2, extents.y + extents.height // 2


def click(accessible):
    x, y = centre(accessible)
    pyatspi.Registry.generateMouseEvent(x, y, "b1c")


def press_keysym(keysym):
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)


def focus(window, entry):
    """Gives a field the keyboard focus the way a user does: a click into it."""
    field = window.entries[entry]
    click(field)
    wait_for(f"{entry} to take the focus", lambda: has_state(field, pyatspi.STATE_FOCUSED))


def type_into(window, entry, text):
    """Clicks into an empty field, types text key by key and reads it back."""
    focus(window, entry)
    for character in text:
        press_keysym(ord(character))  # Latin-1 keysyms equal their code points
    wait_for(f"{entry} to read {text!r}", lambda: window.text(entry) == text)


def clear(window, entry):
    focus(window, entry)
    # The click leaves the caret where it lands; End first, then erase all.
    press_keysym(XK_END)
    for _ in range(len(window.text(entry))):
        press_keysym(XK_BACKSPACE)
    wait_for(f"{entry} to be empty", lambda: window.text(entry) == "")


def select_radio(window, label):
    click(window.radios[label])
    wait_for(f"{label} to be checked",
             lambda: has_state(window.radios[label], pyatspi.STATE_CHECKED))


def expect_texts(window, expected, what):
    """Waits until every field named in expected shows its text."""
    shown = {}

    def all_shown():
        shown.update((entry, window.text(entry)) for entry in expected)
        return shown == expected

    try:
        wait_for(what, all_shown)
    except Failure:
        raise Failure(f"{what}: expected {expected}, shown {shown}") from None
    print(f"ok: {what}: {' '.join(expected.values())}")


def wait_exit(process, timeout=TIMEOUT_S):
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        raise Failure("the program did not end") from None


# ---------------------------------------------------------------------------
# The X side, through Xlib (ctypes on libX11, no package beyond it): closing
# the window as a window manager does, with a WM_DELETE_WINDOW ClientMessage.

class XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("xclient", XClientMessageEvent), ("pad", ctypes.c_long * 24)]


CLIENT_MESSAGE = 33
WindowList = ctypes.POINTER(ctypes.c_ulong)


def load_xlib():
    xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    signatures = {
        "XOpenDisplay": (ctypes.c_void_p, [ctypes.c_char_p]),
        "XCloseDisplay": (ctypes.c_int, [ctypes.c_void_p]),
        "XDefaultRootWindow": (ctypes.c_ulong, [ctypes.c_void_p]),
        "XInternAtom": (ctypes.c_ulong, [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]),
        "XQueryTree": (ctypes.c_int, [ctypes.c_void_p, ctypes.c_ulong, WindowList, WindowList,
                                      ctypes.POINTER(WindowList), ctypes.POINTER(ctypes.c_uint)]),
        "XFetchName": (ctypes.c_int, [ctypes.c_void_p, ctypes.c_ulong,
                                      ctypes.POINTER(ctypes.c_char_p)]),
        "XGetWMProtocols": (ctypes.c_int, [ctypes.c_void_p, ctypes.c_ulong,
                                           ctypes.POINTER(WindowList),
                                           ctypes.POINTER(ctypes.c_int)]),
        "XSendEvent": (ctypes.c_int, [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                      ctypes.c_long, ctypes.POINTER(XEvent)]),
        "XFlush": (ctypes.c_int, [ctypes.c_void_p]),
        "XFree": (ctypes.c_int, [ctypes.c_void_p]),
    }
    for name, (restype, argtypes) in signatures.items():
        function = getattr(xlib, name)
        function.restype, function.argtypes = restype, argtypes
    return xlib


class XDisplay:
    """One connection to the X server, held for the whole run: when its last
    client leaves, the server resets, and a client that connects meanwhile
    is turned away. The accessibility bus launcher connects and leaves again
    while the program starts, so without this the program may find no
    display."""

    def __init__(self):
        self.xlib = load_xlib()
        self.display = self.xlib.XOpenDisplay(None)
        if not self.display:
            raise Failure("cannot open the display")

    def close(self):
        self.xlib.XCloseDisplay(self.display)

    def top_levels(self):
        """Children of the root window: with no window manager, the top levels."""
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children, count = WindowList(), ctypes.c_uint()
        self.xlib.XQueryTree(self.display, self.xlib.XDefaultRootWindow(self.display),
                             ctypes.byref(root), ctypes.byref(parent), ctypes.byref(children),
                             ctypes.byref(count))
        windows = [children[i] for i in range(count.value)]
        if children:
            self.xlib.XFree(children)
        return windows

    def window_titled(self, title):
        for window in self.top_levels():
            name = ctypes.c_char_p()
            if self.xlib.XFetchName(self.display, window, ctypes.byref(name)) and name.value:
                found = name.value.decode() == title
                self.xlib.XFree(name)
                if found:
                    return window
        return None

    def protocols(self, window):
        atoms, count = WindowList(), ctypes.c_int()
        if not self.xlib.XGetWMProtocols(self.display, window, ctypes.byref(atoms),
                                         ctypes.byref(count)):
            return []
        result = [atoms[i] for i in range(count.value)]
        self.xlib.XFree(atoms)
        return result

    def atom(self, name):
        return self.xlib.XInternAtom(self.display, name.encode(), 0)

    def send_delete_window(self, title):
        window = wait_for(f"an X window titled {title}", lambda: self.window_titled(title))
        wm_delete = self.atom("WM_DELETE_WINDOW")
        check(wm_delete in self.protocols(window), "the window takes part in WM_DELETE_WINDOW")
        event = XEvent()
        event.xclient.type = CLIENT_MESSAGE
        event.xclient.window = window
        event.xclient.message_type = self.atom("WM_PROTOCOLS")
        event.xclient.format = 32
        event.xclient.data[0] = wm_delete
        event.xclient.data[1] = 0  # CurrentTime
        self.xlib.XSendEvent(self.display, window, 0, 0, ctypes.byref(event))
        self.xlib.XFlush(self.display)


# ---------------------------------------------------------------------------

def check_start_state(window):
    for entry in ENTRY_ORDER:
        editable = has_state(window.entries[entry], pyatspi.STATE_EDITABLE)
        check(editable == (entry in EDITABLE),
              f"{entry} is {'editable' if entry in EDITABLE else 'read-only'}")
    check(all(window.text(e) == "" for e in ENTRY_ORDER), "all sixteen fields start empty")
    checked = [r for r in RADIO_ORDER
               if has_state(window.radios[r], pyatspi.STATE_CHECKED)]
    check(checked == ["E", "N"], f"E and N are selected at start (seen {checked})")


def scenario_close_button(process, display):
    window = Window(process.pid)
    check_start_state(window)

    # DMS to locator. Empty fields count as zeros; the hemisphere flag still
    # moves the result, but only when the button is pressed again.
    click(window.buttons["encode"])
    expect_texts(window, {"entry1": "jj00aaaa00"}, "empty fields, E and N")
    select_radio(window, "O")
    check(not has_state(window.radios["E"], pyatspi.STATE_CHECKED), "O deselects E")
    check(has_state(window.radios["N"], pyatspi.STATE_CHECKED), "N stays selected")
    check(window.text("entry1") == "jj00aaaa00", "a hemisphere change alone converts nothing")
    click(window.buttons["encode"])
    expect_texts(window, {"entry1": "ij90xaxa90"}, "empty fields, O and N")
    for entry, text in zip(["entry2", "entry3", "entry4", "entry5", "entry6", "entry7"],
                           ["73", "59", "16", "40", "45", "31"]):
        type_into(window, entry, text)
    click(window.buttons["encode"])
    expect_texts(window, {"entry1": "fn30asde59"}, "73 59 16 O / 40 45 31 N")

    # Locator to DMS: typed in capitals, a south latitude; then a west one
    # typed in lower case.
    type_into(window, "entry8", "QF56ODMD00")
    click(window.buttons["decode"])
    expect_texts(window, {"entry9": "151.00", "entry10": "12.00", "entry11": "30.00",
                          "entry12": "E", "entry13": "33.00", "entry14": "52.00",
                          "entry15": "11.25", "entry16": "S"}, "QF56ODMD00")
    clear(window, "entry8")
    type_into(window, "entry8", "aj00aaoa40")
    click(window.buttons["decode"])
    expect_texts(window, {"entry9": "179.00", "entry10": "56.00", "entry11": "60.00",
                          "entry12": "O", "entry13": "0.00", "entry14": "0.00",
                          "entry15": "0.00", "entry16": "N"}, "aj00aaoa40")
    check(window.text("entry8") == "aj00aaoa40", "the typed locator is left as typed")

    click(window.buttons["close"])
    status = wait_exit(process)
    check(status == 0, f"the close button ends the program with status 0 (got {status})")


def scenario_window_manager(process, display):
    window = Window(process.pid)
    check(window.frame.name == "Tolka", "the frame is titled Tolka")
    display.send_delete_window("Tolka")
    status = wait_exit(process)
    check(status == 0, f"closing from the window manager ends with status 0 (got {status})")


SCENARIOS = {"close-button": scenario_close_button,
             "window-manager": scenario_window_manager}


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in SCENARIOS:
        sys.exit(f"usage: {sys.argv[0]} TOLKA {{{'|'.join(SCENARIOS)}}}")
    tolka, scenario = sys.argv[1], SCENARIOS[sys.argv[2]]
    environment = dict(os.environ, GTK_MODULES="gail:atk-bridge")
    environment.pop("NO_AT_BRIDGE", None)
    started = time.monotonic()
    try:
        display = XDisplay()
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        return 1
    process = subprocess.Popen([tolka], env=environment)
    try:
        scenario(process, display)
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        return 1
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
        display.close()
    print(f"{sys.argv[2]}: passed in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
