#!/usr/bin/python3
# A notification service for the end-to-end tests, on the session bus: it
# logs what it is asked (one line each, with the time), and a test plays the
# user through its Invoke and Dismiss methods:
#   dbus-send --session --print-reply --dest=org.freedesktop.Notifications \
#       /org/freedesktop/Notifications org.freedesktop.Notifications.Invoke uint32:1 string:off
# Usage: fake_notifications.py <log file>
import dbus
import dbus.service

from fakebus import Service, serve

INTERFACE = "org.freedesktop.Notifications"


class Notifications(Service):
    def __init__(self):
        super().__init__("/org/freedesktop/Notifications")
        self.last = 0

    @dbus.service.method(INTERFACE, out_signature="as")
    def GetCapabilities(self):
        return ["actions", "body", "persistence"]

    @dbus.service.method(INTERFACE, out_signature="ssss")
    def GetServerInformation(self):
        return ("fake", "velmorand tests", "1", "1.2")

    @dbus.service.method(INTERFACE, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
        self.last = replaces or self.last + 1
        keys = ",".join(str(a) for a in actions[0::2])
        body = body.replace("\n", "|")
        self.write(f"notify {self.last} urgency={int(hints.get('urgency', 1))} "
                   f"timeout={timeout} actions={keys} summary={summary} body={body}")
        return self.last

    @dbus.service.method(INTERFACE, in_signature="u")
    def CloseNotification(self, id):
        self.write(f"close {id}")
        self.NotificationClosed(id, 3)

    @dbus.service.method(INTERFACE, in_signature="us")
    def Invoke(self, id, key):
        self.ActionInvoked(id, key)

    @dbus.service.method(INTERFACE, in_signature="u")
    def Dismiss(self, id):
        self.NotificationClosed(id, 2)

    @dbus.service.signal(INTERFACE, signature="us")
    def ActionInvoked(self, id, key):
        pass

    @dbus.service.signal(INTERFACE, signature="uu")
    def NotificationClosed(self, id, reason):
        pass


serve(INTERFACE, Notifications())
