#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Drives the built tolka from outside, through the accessibility layer, as a
screen reader or a user would: real pointer clicks and key presses (XTest,
through the AT-SPI registry), texts and states read back over AT-SPI.

    e2e.py TOLKA close-button   convert both ways, then press the close button
    e2e.py TOLKA window-manager close the window as a window manager does
    e2e.py TOLKA language-without-catalogue
                                the same, asked for German, which it has no
                                catalogue for: French all the same
    e2e.py TOLKA french         an installed TOLKA in French: typed with Tab
                                and Enter, a paste, a refused text, the
                                accessible names, the widths of the results
    e2e.py TOLKA english        the same installed TOLKA in English

Each scenario runs the program under a locale of its own, whatever the
caller's. Needs a display, a session bus with AT-SPI on it, the toolkit's
accessibility modules and xclip; run-e2e.sh sets all of that up. Exit
status 0 when every check passed.
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

# Widgets are told apart by role and by their order in the tree, which
# follows the packing order of the window; their accessible names are then
# checked against what each language should say.
ENTRY_ORDER = ["entry2", "entry3", "entry4", "entry5", "entry6", "entry7", "entry1",
               "entry8", "entry9", "entry10", "entry11", "entry12", "entry13", "entry14",
               "entry15", "entry16"]
DMS_INPUTS = ["entry2", "entry3", "entry4", "entry5", "entry6", "entry7"]
DMS_OUTPUTS = ["entry9", "entry10", "entry11", "entry12", "entry13", "entry14", "entry15",
               "entry16"]
EDITABLE = set(DMS_INPUTS) | {"entry8"}
RADIO_ORDER = ["E", "O", "N", "S"]
BUTTONS = ["encode", "decode", "close"]

FRENCH_NAMES = {
    "entry2": "Longitude, degrés", "entry3": "Longitude, minutes",
    "entry4": "Longitude, secondes", "entry5": "Latitude, degrés",
    "entry6": "Latitude, minutes", "entry7": "Latitude, secondes",
    "entry1": "QTH locator étendu calculé", "entry8": "QTH locator étendu à convertir",
    "entry9": "Longitude calculée, degrés", "entry10": "Longitude calculée, minutes",
    "entry11": "Longitude calculée, secondes", "entry12": "Longitude calculée, hémisphère",
    "entry13": "Latitude calculée, degrés", "entry14": "Latitude calculée, minutes",
    "entry15": "Latitude calculée, secondes", "entry16": "Latitude calculée, hémisphère",
}

FRENCH_HINT = ("2, 4, 6, 8 ou 10 caractères, de AA00AAAA00 à RR99XXXX99, en majuscules ou en "
               "minuscules (par exemple jn18dt). Les blancs autour sont ignorés ; tout autre "
               "texte est refusé, avec la raison.")
FRENCH_REFUSALS = {
    "entry7": "Secondes de latitude : 75 n'est pas inférieur à 60",
    "entry8": "Caractère 1 de ZZ99ZZ : une lettre de A à R est attendue",
}
# What each DMS field takes, its description and tooltip.
FRENCH_NUMBER_HINTS = {
    "entry2": "degrés de longitude, 0 à 180", "entry3": "minutes de longitude, 0 à moins de 60",
    "entry4": "secondes de longitude, 0 à moins de 60", "entry5": "degrés de latitude, 0 à 90",
    "entry6": "minutes de latitude, 0 à moins de 60",
    "entry7": "secondes de latitude, 0 à moins de 60",
}
# The section labels whose texts end in a line feed, named without it.
FRENCH_LABELS = ["Longitude", "Latitude", "QTH locator étendu vers DMS"]

# What each language shows and says. Under a locale with no catalogue of the
# program's the whole window is French, the toolkit's texts included.
LANGUAGES = {
    "C.UTF-8": {
        "buttons": ["Calculer QTH locator étendu", "Calculer DMS", "Fermer"],
        "letters": RADIO_ORDER,
        "names": FRENCH_NAMES,
        "radios": ["Longitude est", "Longitude ouest", "Latitude nord", "Latitude sud"],
        "number_hints": FRENCH_NUMBER_HINTS,
        "labels": FRENCH_LABELS,
        "separator": ".",
    },
    "fr_FR.UTF-8": {
        "buttons": ["Calculer QTH locator étendu", "Calculer DMS", "Fermer"],
        "letters": RADIO_ORDER,
        "names": FRENCH_NAMES,
        "radios": ["Longitude est", "Longitude ouest", "Latitude nord", "Latitude sud"],
        "menu": ["Couper", "Copier", "Coller", "Supprimer", "Tout sélectionner"],
        "copy_maidenhead": "Copier au format Maidenhead (ADIF)",
        "paste": "Coller",
        "separator": ",",
        "catalogue": "fr",
        "hint": FRENCH_HINT,
        "number_hints": FRENCH_NUMBER_HINTS,
        "labels": FRENCH_LABELS,
        "refusals": FRENCH_REFUSALS,
        "close_key": "Escape",
    },
    "en_US.UTF-8": {
        "buttons": ["Compute extended QTH locator", "Compute DMS", "Close"],
        "letters": ["E", "W", "N", "S"],
        "names": {
            "entry2": "Longitude, degrees", "entry3": "Longitude, minutes",
            "entry4": "Longitude, seconds", "entry5": "Latitude, degrees",
            "entry6": "Latitude, minutes", "entry7": "Latitude, seconds",
            "entry1": "Computed extended QTH locator",
            "entry8": "Extended QTH locator to convert",
            "entry9": "Computed longitude, degrees", "entry10": "Computed longitude, minutes",
            "entry11": "Computed longitude, seconds",
            "entry12": "Computed longitude, hemisphere",
            "entry13": "Computed latitude, degrees", "entry14": "Computed latitude, minutes",
            "entry15": "Computed latitude, seconds", "entry16": "Computed latitude, hemisphere",
        },
        "radios": ["Longitude east", "Longitude west", "Latitude north", "Latitude south"],
        "menu": ["Cut", "Copy", "Paste", "Delete", "Select All"],
        "copy_maidenhead": "Copy as Maidenhead (ADIF)",
        "paste": "Paste",
        "separator": ".",
        "catalogue": "en",
        "hint": ("2, 4, 6, 8 or 10 characters, from AA00AAAA00 to RR99XXXX99, in upper or lower "
                 "case (for example jn18dt). Blanks around it are ignored; any other text is "
                 "refused, with the reason."),
        "number_hints": {
            "entry2": "longitude degrees, 0 to 180", "entry3": "longitude minutes, 0 to under 60",
            "entry4": "longitude seconds, 0 to under 60", "entry5": "latitude degrees, 0 to 90",
            "entry6": "latitude minutes, 0 to under 60",
            "entry7": "latitude seconds, 0 to under 60",
        },
        "labels": ["Longitude (E east, W west)", "Latitude (N north, S south)",
                   "Extended QTH locator to DMS"],
        "refusals": {
            "entry7": "Latitude seconds: 75 is not less than 60",
            "entry8": "Character 1 of ZZ99ZZ: a letter A-R is expected",
        },
        "close_key": "Control+q",
    },
}
# The plain C locale, where gettext translates nothing: French all the same.
LANGUAGES["C"] = LANGUAGES["C.UTF-8"]

# Tab from the first field, with E and N selected: every stop in turn, then
# round to the first again.
TAB_ORDER = DMS_INPUTS + ["E", "N", "encode", "entry1", "entry8", "decode"] + DMS_OUTPUTS + [
    "close", "entry2"]

XK_BACKSPACE = 0xFF08
XK_TAB = 0xFF09
XK_RETURN = 0xFF0D
XK_END = 0xFF57
XK_HOME = 0xFF50
XK_ESCAPE = 0xFF1B
XK_CONTROL_L = 0xFFE3
XK_Q = ord("q")
# The frame the toolkit draws round a field's text, in pixels.
FIELD_FRAME = 2


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

    def __init__(self, pid, language):
        self.language = LANGUAGES[language]
        application = wait_for("the program on the accessibility bus",
                               lambda: find_application(pid))
        self.application = application
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
        letters = self.language["letters"]
        if [r.name for r in radios] != letters:
            raise Failure(f"radio buttons {[r.name for r in radios]}, expected {letters}")
        expected = self.language["buttons"]
        if [b.name for b in buttons] != expected:
            raise Failure(f"push buttons {[b.name for b in buttons]}, expected {expected}")
        return (dict(zip(ENTRY_ORDER, texts)), dict(zip(RADIO_ORDER, radios)),
                dict(zip(BUTTONS, buttons)))

    def widget(self, name):
        """An entry, radio button ("E" ...) or button ("encode" ...) by name."""
        return self.entries.get(name) or self.radios.get(name) or self.buttons[name]

    def focused(self):
        for name in list(self.entries) + list(self.radios) + list(self.buttons):
            if has_state(self.widget(name), pyatspi.STATE_FOCUSED):
                return name
        return None

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


def type_keys(text):
    for character in text:
        press_keysym(ord(character))  # Latin-1 keysyms equal their code points


def type_into(window, entry, text):
    """Clicks into an empty field, types text key by key and reads it back."""
    focus(window, entry)
    type_keys(text)
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
        "XGetSelectionOwner": (ctypes.c_ulong, [ctypes.c_void_p, ctypes.c_ulong]),
        "XFree": (ctypes.c_int, [ctypes.c_void_p]),
        "XKeysymToKeycode": (ctypes.c_ubyte, [ctypes.c_void_p, ctypes.c_ulong]),
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

    def keycode(self, keysym):
        return self.xlib.XKeysymToKeycode(self.display, keysym)

    def clipboard_owned(self):
        return self.xlib.XGetSelectionOwner(self.display, self.atom("CLIPBOARD")) != 0

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


def check_accessible_names(window):
    names = {entry: window.entries[entry].name for entry in ENTRY_ORDER}
    check(names == window.language["names"], f"each field has its own accessible name: {names}")
    descriptions = [window.radios[r].description for r in RADIO_ORDER]
    check(descriptions == window.language["radios"],
          f"each hemisphere button names its axis: {descriptions}")
    hints = {entry: window.entries[entry].description for entry in DMS_INPUTS}
    check(hints == window.language["number_hints"], f"each number says what it takes: {hints}")
    labels = [n.name for n in walk(window.frame) if n.getRole() == pyatspi.ROLE_LABEL]
    check(all(name in labels for name in window.language["labels"]) and
          not any(name.endswith("\n") for name in labels),
          f"no label is named with its line feed: {labels}")


def shown_reasons(window):
    """The texts of the labels shown outside the window's frame: where a
    refused field's reason shows."""
    texts = []
    for child in window.application:
        if (child is not None and child.getRole() != pyatspi.ROLE_FRAME and
                has_state(child, pyatspi.STATE_SHOWING)):
            texts += [n.name for n in walk(child) if n.getRole() == pyatspi.ROLE_LABEL]
    return texts


def check_catalogue_beside_program(process, window):
    """The program reads its catalogue from the prefix it is installed in,
    and from nowhere else: glibc maps the catalogue file it uses."""
    prefix = os.path.dirname(os.path.dirname(os.path.realpath(process.args[0])))
    expected = os.path.join(prefix, "share", "locale", window.language["catalogue"],
                            "LC_MESSAGES", "locx.mo")
    with open(f"/proc/{process.pid}/maps") as maps:
        mapped = {line.split()[-1] for line in maps if line.rstrip().endswith("/locx.mo")}
    check(mapped == {expected}, f"the catalogue read is {expected} (mapped: {sorted(mapped)})")


def localised(texts, language):
    """The texts as the language shows them: its decimal separator, and its
    letter for west in the longitude's hemisphere field."""
    west = language["letters"][1]
    return {entry: west if entry == "entry12" and text == "O" else
            text.replace(".", language["separator"]) for entry, text in texts.items()}


def decoded(values):
    return dict(zip(DMS_OUTPUTS, values.split()))


def check_shown_in_full(window, entry):
    """The text's extents lie within the field, short of its frame."""
    field = window.entries[entry].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    text = window.entries[entry].queryText()
    x, _, width, _ = text.getRangeExtents(0, text.characterCount, pyatspi.DESKTOP_COORDS)
    left, right = field.x + FIELD_FRAME, field.x + field.width - FIELD_FRAME
    check(left <= x and x + width <= right,
          f"{entry} shows {window.text(entry)!r} in full: pixels {x}..{x + width} "
          f"within {left}..{right}")


def press_and_expect(window, keysym, expected, what):
    press_keysym(keysym)
    expect_texts(window, localised(expected, window.language), what)


def retype(window, entry, text):
    clear(window, entry)
    if text:
        type_into(window, entry, text)


def paste_into(window, display, entry, text):
    """Pastes text into the empty field entry from its context menu, with the
    clipboard held by xclip for the time of the paste."""
    clipboard = subprocess.Popen(["xclip", "-selection", "clipboard", "-quiet", "-i"],
                                 stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
    try:
        clipboard.stdin.write(text.encode())
        clipboard.stdin.close()
        # The menu asks for the clipboard's contents as it opens.
        wait_for("xclip to hold the clipboard", display.clipboard_owned)
        x, y = centre(window.entries[entry])
        pyatspi.Registry.generateMouseEvent(x, y, "b3c")

        def menu_items():
            for child in window.application:
                if child is not None and child.getRole() == pyatspi.ROLE_WINDOW:
                    items = [n for n in walk(child) if n.getRole() == pyatspi.ROLE_MENU_ITEM and
                             has_state(n, pyatspi.STATE_SHOWING)]
                    if items:
                        return items
            return None

        items = wait_for("the context menu", menu_items)
        names = [i.name for i in items]
        # The locator fields' menus end with the copy in Maidenhead's layout,
        # which an empty field leaves insensitive.
        locator_field = entry in ("entry1", "entry8")
        copy = [window.language["copy_maidenhead"]] if locator_field else []
        check(names == window.language["menu"] + copy, f"the context menu reads {names}")
        if locator_field:
            check(not has_state(items[-1], pyatspi.STATE_SENSITIVE),
                  "its Maidenhead copy is insensitive for an empty field")
        paste = next(i for i in items if i.name == window.language["paste"])
        wait_for("its paste item to be enabled",
                 lambda: has_state(paste, pyatspi.STATE_SENSITIVE))
        click(paste)
        wait_for(f"{entry} to hold the paste", lambda: window.text(entry) == text)
        print(f"ok: pasted {text!r}")
    finally:
        clipboard.kill()
        clipboard.wait()


def check_refusals(window):
    """A result goes as soon as an input of its half changes. A refused
    field takes the focus and says why in its description and in a label
    shown under it until the next key, the results are cleared, and the next
    accepted press puts the description back as it was."""
    refusals = window.language["refusals"]
    entry7 = window.entries["entry7"]
    check(window.text("entry1") == "jn18dtkk78", "the locator of 2 17 14 / 48 48 38 is shown")
    focus(window, "entry7")
    press_keysym(XK_END)
    press_keysym(XK_BACKSPACE)
    expect_texts(window, {"entry7": "3", "entry1": ""},
                 "a seconds digit erased: the locator of the old seconds is gone")
    retype(window, "entry7", "75")
    press_and_expect(window, XK_RETURN, {"entry1": ""}, "75 seconds, Enter: no locator")
    wait_for("the seconds field to say why",
             lambda: entry7.description == refusals["entry7"] and
             window.focused() == "entry7")
    wait_for("the reason to show under the field, no pointer needed",
             lambda: shown_reasons(window) == [refusals["entry7"]])
    print(f"ok: the reason shows: {refusals['entry7']}")
    press_keysym(XK_HOME)
    wait_for("the next key to take the reason away", lambda: shown_reasons(window) == [])
    check(window.text("entry7") == "75" and window.focused() == "entry7",
          "the key still went to the field")
    retype(window, "entry7", "38")
    press_and_expect(window, XK_RETURN, {"entry1": "jn18dtkk78"}, "38 seconds, Enter")
    wait_for("the seconds field's description to be its hint again",
             lambda: entry7.description == window.language["number_hints"]["entry7"])
    print("ok: a refused number is named, then its hint comes back")

    entry8 = window.entries["entry8"]
    retype(window, "entry8", "ZZ99ZZ")
    press_and_expect(window, XK_RETURN, dict.fromkeys(DMS_OUTPUTS, ""),
                     "ZZ99ZZ, Enter: the results are cleared")
    wait_for("the locator field to say why",
             lambda: entry8.description == refusals["entry8"] and window.focused() == "entry8")
    wait_for("the reason to show under the locator field",
             lambda: shown_reasons(window) == [refusals["entry8"]])
    retype(window, "entry8", "jn18dt")
    press_and_expect(window, XK_RETURN, decoded("2.00 15.00 0.00 E 48.00 47.00 30.00 N"),
                     "jn18dt, Enter")
    wait_for("the locator field's description to be its hint again",
             lambda: entry8.description == window.language["hint"])
    print("ok: a refused locator is named, then its hint comes back")


def scenario_close_button(process, display, language):
    window = Window(process.pid, language)
    check_start_state(window)
    check_accessible_names(window)

    # DMS to locator. Empty fields count as zeros; the hemisphere flag still
    # moves the result, when the button is pressed again.
    click(window.buttons["encode"])
    expect_texts(window, {"entry1": "jj00aaaa00"}, "empty fields, E and N")
    select_radio(window, "O")
    wait_for("O to deselect E", lambda: not has_state(window.radios["E"], pyatspi.STATE_CHECKED))
    check(has_state(window.radios["N"], pyatspi.STATE_CHECKED), "N stays selected")
    expect_texts(window, {"entry1": ""},
                 "a hemisphere change converts nothing and clears the old locator")
    click(window.buttons["encode"])
    expect_texts(window, {"entry1": "ij90xaxa90"}, "empty fields, O and N")
    for entry, text in zip(DMS_INPUTS, ["73", "59", "16", "40", "45", "31"]):
        type_into(window, entry, text)
    click(window.buttons["encode"])
    expect_texts(window, {"entry1": "fn30asde59"}, "73 59 16 O / 40 45 31 N")

    # Locator to DMS: typed in capitals, a south latitude; then a west one
    # typed in lower case.
    type_into(window, "entry8", "QF56ODMD00")
    click(window.buttons["decode"])
    expect_texts(window, decoded("151.00 12.00 30.00 E 33.00 52.00 11.25 S"), "QF56ODMD00")
    clear(window, "entry8")
    type_into(window, "entry8", "aj00aaoa40")
    click(window.buttons["decode"])
    expect_texts(window, decoded("179.00 57.00 0.00 O 0.00 0.00 0.00 N"), "aj00aaoa40")
    check(window.text("entry8") == "aj00aaoa40", "the typed locator is left as typed")

    click(window.buttons["close"])
    status = wait_exit(process)
    check(status == 0, f"the close button ends the program with status 0 (got {status})")


def scenario_installed(process, display, language):
    """The installed program in one language, driven from the keyboard."""
    window = Window(process.pid, language)
    check_start_state(window)
    check_accessible_names(window)
    check_catalogue_beside_program(process, window)

    # Six numbers typed with Tab between them, then Enter.
    numbers = ["2", "17", "14", "48", "48", "38"]
    focus(window, "entry2")
    for i, number in enumerate(numbers):
        if i:
            press_keysym(XK_TAB)
        type_keys(number)
    press_and_expect(window, XK_RETURN, dict(zip(DMS_INPUTS, numbers), entry1="jn18dtkk78"),
                     "2 Tab 17 Tab 14 Tab 48 Tab 48 Tab 38 Enter")

    # Tab visits every stop in reading order and comes round again.
    focus(window, "entry2")
    for name in TAB_ORDER[1:]:
        press_keysym(XK_TAB)
        wait_for(f"Tab to reach {name}", lambda: window.focused() == name)
    print(f"ok: Tab goes {' '.join(TAB_ORDER)}")

    # A locator pasted with white space round it; Enter decodes it.
    clear(window, "entry8")
    paste_into(window, display, "entry8", "  jn18dt \n")
    wait_for("the locator field to keep the focus after the paste",
             lambda: window.focused() == "entry8")
    press_and_expect(window, XK_RETURN, decoded("2.00 15.00 0.00 E 48.00 47.00 30.00 N"),
                     "the pasted locator, Enter")

    check_refusals(window)

    # The longest results, each read against its field; then the widest
    # locator, typed back from its own corner.
    for locator, values in [("AA00AAAA00", "180.00 0.00 0.00 O 90.00 0.00 0.00 S"),
                            ("RR99XXXX99", "179.00 59.00 58.75 E 89.00 59.00 59.38 N"),
                            ("AJ00AAOA40", "179.00 57.00 0.00 O 0.00 0.00 0.00 N"),
                            ("mm88wwww88", "77.00 54.00 45.00 E 38.00 57.00 22.50 N")]:
        retype(window, "entry8", locator)
        press_and_expect(window, XK_RETURN, decoded(values), locator)
        for entry in DMS_OUTPUTS:
            check_shown_in_full(window, entry)
    corner = [window.text(e) for e in DMS_OUTPUTS if e not in ("entry12", "entry16")]
    for entry, number in zip(DMS_INPUTS, corner):
        retype(window, entry, number)
    press_and_expect(window, XK_RETURN, {"entry1": "mm88wwww88"}, "the corner typed back, Enter")
    check_shown_in_full(window, "entry1")

    key = window.language["close_key"]
    if key == "Escape":
        press_keysym(XK_ESCAPE)
    else:
        # Held by its key code: only press and release events take one.
        control = display.keycode(XK_CONTROL_L)
        pyatspi.Registry.generateKeyboardEvent(control, None, pyatspi.KEY_PRESS)
        press_keysym(XK_Q)
        pyatspi.Registry.generateKeyboardEvent(control, None, pyatspi.KEY_RELEASE)
    status = wait_exit(process)
    check(status == 0, f"{key} ends the program with status 0 (got {status})")


def scenario_window_manager(process, display, language):
    # Window() checks the buttons read French, "Fermer" included.
    window = Window(process.pid, language)
    check(window.frame.name == "Tolka", "the frame is titled Tolka")
    display.send_delete_window("Tolka")
    status = wait_exit(process)
    check(status == 0, f"closing from the window manager ends with status 0 (got {status})")


# Each scenario with the locale the program runs under, and the language
# the caller asks for, if any. A language the program has no catalogue for
# (German) is no more heeded than the C locale: the window is French, the
# toolkit's "Fermer" included, where GLib and GTK do have German.
SCENARIOS = {"close-button": (scenario_close_button, "C.UTF-8", None),
             "window-manager": (scenario_window_manager, "C", None),
             "language-without-catalogue": (scenario_window_manager, "C.UTF-8", "de"),
             "french": (scenario_installed, "fr_FR.UTF-8", None),
             "english": (scenario_installed, "en_US.UTF-8", None)}


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in SCENARIOS:
        sys.exit(f"usage: {sys.argv[0]} TOLKA {{{'|'.join(SCENARIOS)}}}")
    tolka, (scenario, language, asked) = sys.argv[1], SCENARIOS[sys.argv[2]]
    # The scenario's locale and nothing of the caller's: LANGUAGE=en, for
    # one, would turn a French run English.
    environment = {name: value for name, value in os.environ.items()
                   if not name.startswith("LC_") and name not in ("LANG", "LANGUAGE")}
    environment.update(LC_ALL=language, GTK_MODULES="gail:atk-bridge")
    if asked:
        environment["LANGUAGE"] = asked
    environment.pop("NO_AT_BRIDGE", None)
    started = time.monotonic()
    try:
        display = XDisplay()
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        return 1
    process = subprocess.Popen([tolka], env=environment)
    try:
        scenario(process, display, language)
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
