# Screen readers reach the running program: with a screen reader announced on
# the accessibility bus, the splash and then the main window appear in the
# AT-SPI tree with their controls, each named. Run by accessibility_test.sh
# inside a session bus of its own:
#   accessibility_test.py TONFANG
import os
import subprocess
import sys
import tempfile
import time

import dbus
import pyatspi

TIMEOUT = 30  # seconds; only reached when something is wrong


def announce_screen_reader():
    bus = dbus.SessionBus()
    launcher = bus.get_object("org.a11y.Bus", "/org/a11y/bus")
    dbus.Interface(launcher, "org.freedesktop.DBus.Properties").Set(
        "org.a11y.Status", "ScreenReaderEnabled", True)


def windows():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "tonfang":
            return {window.name: window for window in app if window is not None}
    return {}


def descendants(node):
    for child in node:
        if child is not None:
            yield child
            yield from descendants(child)


def main():
    announce_screen_reader()
    failures = []
    with tempfile.TemporaryDirectory() as folder:  # no language marker files
        program = subprocess.Popen([os.path.abspath(sys.argv[1])], cwd=folder, stderr=subprocess.DEVNULL)
        try:
            splash = None
            deadline = time.monotonic() + TIMEOUT
            # The splash is listed from its first showing; the main window
            # follows while it is still up.
            while "Tonfang - Quellwerk" not in windows() and time.monotonic() < deadline:
                splash = splash or windows().get("start")
                time.sleep(0.05)
            main_window = windows().get("Tonfang - Quellwerk")
            if splash is None:
                failures.append("the splash never appeared")
            else:
                parts = [(c.getRoleName(), c.name) for c in descendants(splash)]
                if parts.count(("image", "")) != 2 or ("label", "de") not in parts:
                    failures.append(f"splash parts: {parts}")
            if main_window is None:
                failures.append("the main window never appeared")
            else:
                controls = list(descendants(main_window))
                fields = [c for c in controls if c.getRole() == pyatspi.ROLE_TEXT]
                buttons = [c for c in controls if c.getRole() == pyatspi.ROLE_PUSH_BUTTON]
                if len(fields) != 24 or any(not c.name for c in fields):
                    failures.append(f"fields: {[c.name for c in fields]}")
                unnamed = [c for c in buttons if not c.name]
                if len(buttons) < 9 or unnamed:
                    failures.append(f"{len(buttons)} buttons, {len(unnamed)} without a name")
                if not any(c.getRole() == pyatspi.ROLE_MENU_BAR for c in controls):
                    failures.append("no menu bar")
        finally:
            program.terminate()
            program.wait()
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
