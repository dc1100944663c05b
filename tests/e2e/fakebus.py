# What the fake desktop services of the end-to-end tests share: the test's
# session bus, a log of what they are asked (one line each, with the time;
# the log file is the first argument), and serving under a bus name.
import sys
import time

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

DBusGMainLoop(set_as_default=True)
BUS = dbus.SessionBus()


class Service(dbus.service.Object):
    def __init__(self, path):
        super().__init__(BUS, path)
        self.log = sys.argv[1]

    def write(self, line):
        with open(self.log, "a", encoding="utf-8") as out:
            out.write(f"{time.time():.3f} {line}\n")


def serve(name, service):
    """Owns the name and answers until killed; says "ready" first."""
    owned = dbus.service.BusName(name, BUS)
    service.write("ready")
    GLib.MainLoop().run()
    del owned
