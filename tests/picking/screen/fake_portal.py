#!/usr/bin/python3
"""A stand-in for the desktop portal's colour picker on a private session bus.

It owns org.freedesktop.portal.Desktop, reports the screenshot interface's
version, writes every call it receives as one JSON line to the log, and answers
PickColor the way the command line says; with --without-pickcolor it has no
such method, as a portal whose backend cannot pick. The answer is sent on the request
object before the method returns, so only a client that subscribed before its
call can see it.
"""
import argparse
import json

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

NAME = "org.freedesktop.portal.Desktop"
PATH = "/org/freedesktop/portal/desktop"
SCREENSHOT = "org.freedesktop.portal.Screenshot"


class Request(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, response, results):
        pass


class Portal(dbus.service.Object):
    def __init__(self, bus, args):
        super().__init__(bus, PATH)
        self.bus = bus
        self.args = args
        self.requests = []

    def log(self, entry):
        with open(self.args.log, "a", encoding="utf-8") as f:
            f.write(json.dumps(entry) + "\n")

    @dbus.service.method("org.freedesktop.DBus.Properties", in_signature="ss",
                         out_signature="v")
    def Get(self, interface, name):
        self.log({"call": "Get", "interface": str(interface), "name": str(name)})
        if interface == SCREENSHOT and name == "version":
            return dbus.UInt32(self.args.version)
        raise dbus.exceptions.DBusException(
            "no such property", name="org.freedesktop.DBus.Error.InvalidArgs")


class PickingPortal(Portal):
    @dbus.service.method(SCREENSHOT, in_signature="sa{sv}", out_signature="o",
                         sender_keyword="sender")
    def PickColor(self, parent_window, options, sender):
        token = str(options.get("handle_token", ""))
        path = "%s/request/%s/%s" % (PATH, sender[1:].replace(".", "_"), token)
        self.log({"call": "PickColor", "parent_window": str(parent_window),
                  "options": {str(k): str(v) for k, v in options.items()},
                  "sender": str(sender), "request": path})
        answer = self.args.answer
        if answer == "error":
            raise dbus.exceptions.DBusException(
                "picking failed", name="org.freedesktop.portal.Error.Failed")
        results = dbus.Dictionary({}, signature="sv")
        code = {"colour": 0, "nocolour": 0, "badcolour": 0, "cancel": 1, "failure": 2}[answer]
        if answer == "colour":
            results["color"] = dbus.Struct([float(c) for c in self.args.colour],
                                           signature="ddd")
        elif answer == "badcolour":
            results["color"] = dbus.String("red")
        request = Request(self.bus, path)
        self.requests.append(request)
        request.Response(dbus.UInt32(code), results)
        return dbus.ObjectPath(path)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--version", type=int, default=2)
    parser.add_argument("--answer", default="colour",
                        choices=["colour", "nocolour", "badcolour", "cancel", "failure", "error"])
    parser.add_argument("--colour", nargs=3, default=["0", "0", "0"])
    parser.add_argument("--without-pickcolor", action="store_true")
    parser.add_argument("--log", required=True)
    args = parser.parse_args()

    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    portal = (Portal if args.without_pickcolor else PickingPortal)(bus, args)
    name = dbus.service.BusName(NAME, bus, do_not_queue=True)
    GLib.MainLoop().run()
    del portal, name


if __name__ == "__main__":
    main()
