#!/usr/bin/python3
"""Drives Tonfang through AT-SPI as a screen reader would, with one busy loop per
core running: each round turns the help pages, switches the language, opens and
closes the dialogs and fills and clears the colour list, walking every window's
tree before each step and asking for children by the counts it had before.
    screenreader_stress.py ROUNDS TONFANG_EXECUTABLE
Exits 0 when the program outlived every round."""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib

ROUNDS, PROGRAM = int(sys.argv[1]), sys.argv[2]
HELP, NEXT = {"Einführung", "Introduction"}, {"weiter >>", "next >>"}
LANGUAGES, CLEAR = [{"English"}, {"Deutsch"}], {"Farbliste löschen", "Clear Colorlist"}
DIALOGS = [({"Anpassen..", "Customize.."}, {"Abbrechen", "Break"}),  # opened by, closed by
           ({"Benutzerdefiniert..", "Custom.."}, {"Abbrechen", "Break"}),
           ({"Fehler oder Verbesserung melden..", "Report Bug or Improvement.."}, {"OK"})]
ITEMS = {pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_CHECK_MENU_ITEM, pyatspi.ROLE_RADIO_MENU_ITEM}
WINDOWS = {pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG, pyatspi.ROLE_WINDOW}
GONE = (GLib.Error, NotImplementedError, TypeError, AttributeError)  # from objects gone


def until(what, seconds=30):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if program.poll() is not None:
            raise SystemExit(f"FAIL: Tonfang ended with status {program.returncode}")
        if found := what():
            return found
        GLib.MainContext.default().iteration(False)
    raise SystemExit("FAIL: the program did not get there")


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == program.pid:
            app.set_cache_mask(Atspi.Cache.NONE)  # every question goes to the program
            return app


def walk(node, found):
    """Asks each node what a reader asks; notes buttons and items by name, sizes,
    list rows and child counts."""
    try:
        name, role, count = node.name, node.getRole(), node.childCount
        state, _ = node.getState(), node.parent
        if role != pyatspi.ROLE_APPLICATION:
            box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            centre = (box.x + box.width // 2, box.y + box.height // 2)
            found.setdefault((box.width, box.height), centre)
    except GONE:
        return found
    if role in ITEMS or role == pyatspi.ROLE_PUSH_BUTTON and state.contains(pyatspi.STATE_SHOWING):
        found.setdefault(name, node)
    found.setdefault("counted", []).append((node, count))
    found["rows"] = found.get("rows", 0) + (count if role == pyatspi.ROLE_LIST else 0)
    if role in WINDOWS and not state.contains(pyatspi.STATE_SHOWING):
        return found  # a reader reads the windows on the screen
    for index in range(min(count, 64)):
        try:
            walk(node.getChildAtIndex(index), found)
        except GONE:
            pass
    return found


def heard(event):
    for node in (event.source, event.any_data):
        try:
            node.name, node.getRole(), node.getIndexInParent(), node.parent, node.getState()
        except GONE:
            pass


def press(names):
    def find():
        found.clear()
        walk(application(), found)
        return next((found[n] for n in names if n in found), None)
    found = {}
    until(find).queryAction().doAction(0)
    while GLib.MainContext.default().iteration(False):
        pass
    for node, count in found["counted"]:  # as a reader's cache counted them before
        try:
            node.getChildAtIndex(count - 1)
        except GONE:
            pass


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True).stdout


program = subprocess.Popen([PROGRAM], env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
# Each busy loop ends by itself once this script has gone, however it went.
spin = f"import os\nwhile os.getppid() == {os.getpid()}: pass"
burners = [subprocess.Popen([sys.executable, "-c", spin]) for _ in range(os.cpu_count())]
pyatspi.Registry.registerEventListener(heard, "object:children-changed", "object:state-changed",
                                       "object:property-change", "focus", "window")
try:
    swatch = until(lambda: application() and walk(application(), {}).get((141, 127)))
    for round_ in range(ROUNDS):
        press(HELP)
        # No window manager raises the main window again: move the help off the swatch.
        for window in xdotool("search", "--onlyvisible", "--pid", program.pid, "").split():
            if "Geometry: 543x495" in xdotool("getwindowgeometry", window):
                xdotool("windowmove", window, 737, 0)
        for _ in range(5):
            press(NEXT)
        press(LANGUAGES[round_ % 2])
        for opener, closer in DIALOGS:
            press(opener)
            press(closer)
        until(lambda: xdotool("mousemove", *swatch, "click", "--repeat", 2, "--delay", 50, 1)
              or walk(application(), {}).get("rows"))
        press(CLEAR)
        print(f"round {round_ + 1} of {ROUNDS} done", flush=True)
    until(lambda: program.poll() is None)
    print("the program outlived every round")
finally:
    for process in burners + [program]:
        process.terminate()
        process.wait()
