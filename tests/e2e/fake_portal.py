#!/usr/bin/python3
# The desktop portal's global shortcuts for the end-to-end tests, on the
# session bus: sessions and bindings are answered at once through their
# Request objects, as the portal does, and logged; a test presses a bound
# shortcut through Activate:
#   dbus-send --session --print-reply --dest=org.freedesktop.portal.Desktop \
#       /org/freedesktop/portal/desktop org.freedesktop.portal.GlobalShortcuts.Activate string:hotkey1
# Usage: fake_portal.py <log file>
import time

import dbus
import dbus.service
from gi.repository import GLib

from fakebus import BUS, Service, serve

PATH = "/org/freedesktop/portal/desktop"
SHORTCUTS = "org.freedesktop.portal.GlobalShortcuts"


def caller_path(sender, kind, token):
    return f"{PATH}/{kind}/{sender[1:].replace('.', '_')}/{token}"


class Request(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, response, results):
        pass


class Portal(Service):
    def __init__(self):
        super().__init__(PATH)
        self.session = None
        self.requests = []

    def answer(self, sender, token, results):
        path = caller_path(sender, "request", token)
        request = Request(BUS, path)
        self.requests.append(request)
        GLib.idle_add(lambda: request.Response(dbus.UInt32(0), results) and False)
        return dbus.ObjectPath(path)

    @dbus.service.method(SHORTCUTS, in_signature="a{sv}", out_signature="o", sender_keyword="sender")
    def CreateSession(self, options, sender):
        self.session = caller_path(sender, "session", str(options["session_handle_token"]))
        self.write(f"session {self.session}")
        return self.answer(sender, str(options["handle_token"]),
                           dbus.Dictionary({"session_handle": self.session}, signature="sv"))

    @dbus.service.method(SHORTCUTS, in_signature="oa(sa{sv})sa{sv}", out_signature="o",
                         sender_keyword="sender")
    def BindShortcuts(self, session, shortcuts, parent, options, sender):
        bound = []
        for name, properties in shortcuts:
            trigger = str(properties.get("preferred_trigger", ""))
            self.write(f"bind {name}={trigger} ({properties.get('description', '')})")
            bound.append(dbus.Struct((name, dbus.Dictionary(
                {"description": properties.get("description", ""),
                 "trigger_description": trigger.replace("CTRL", "Ctrl").replace("SHIFT", "Shift")},
                signature="sv"))))
        shortcuts = dbus.Array(bound, signature="(sa{sv})")
        return self.answer(sender, str(options["handle_token"]),
                           dbus.Dictionary({"shortcuts": shortcuts}, signature="sv"))

    @dbus.service.method(SHORTCUTS, in_signature="s")
    def Activate(self, name):
        self.write(f"activate {name}")
        self.Activated(dbus.ObjectPath(self.session), name, dbus.UInt64(int(time.time() * 1000)),
                       dbus.Dictionary({}, signature="sv"))

    @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
    def Activated(self, session, name, timestamp, options):
        pass


serve("org.freedesktop.portal.Desktop", Portal())
