# Screen readers reach the running program: with one announced on the accessibility
# bus, the splash, then the main window with its named controls, are in the AT-SPI
# tree. Run in a session bus of its own: accessibility_test.py TONFANG
import os, subprocess, sys, tempfile, time
import dbus, pyatspi

launcher = dbus.SessionBus().get_object("org.a11y.Bus", "/org/a11y/bus")
dbus.Interface(launcher, dbus.PROPERTIES_IFACE).Set("org.a11y.Status", "ScreenReaderEnabled", True)

def windows():
    apps = [a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "tonfang"]
    return {w.name: w for app in apps for w in app if w is not None}

def parts(node):
    for child in filter(None, node):
        yield (child.getRoleName(), child.name)
        yield from parts(child)

with tempfile.TemporaryDirectory() as folder:  # no language marker files
    program = subprocess.Popen([os.path.abspath(sys.argv[1])], cwd=folder, stderr=subprocess.DEVNULL)
    splash, deadline = None, time.monotonic() + 30
    while "Tonfang - Quellwerk" not in windows() and time.monotonic() < deadline:
        splash = splash or windows().get("start")
        time.sleep(0.05)
    main, splash = list(parts(windows().get("Tonfang - Quellwerk", []))), list(parts(splash or []))
    program.terminate()
named = lambda role: [name for kind, name in main if kind == role]
checks = {"splash: two pictures, the language label": splash.count(("image", "")) == 2
          and ("label", "de") in splash,
          "main window: 24 named fields": len(named("text")) == 24 and all(named("text")),
          "main window: named buttons": len(named("push button")) >= 9 and all(named("push button")),
          "main window: a menu bar": named("menu bar") != []}
for what, ok in checks.items():
    print("ok  " if ok else "FAIL", what)
sys.exit(0 if all(checks.values()) else 1)
