"""A notification server of the suite's own: owns org.freedesktop.Notifications on the session
bus of DBUS_SESSION_BUS_ADDRESS and appends each notification it is sent to a file, one JSON
object a line. Once it owns the name it writes "ready" to a second file.

    notification_listener.py <record file> <ready file>

Needs Debian's python3-dbus and python3-gi (scripts/install-deps.sh --test).
"""

import json
import sys
from pathlib import Path

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

NAME = "org.freedesktop.Notifications"
PATH = "/org/freedesktop/Notifications"


class NotificationServer(dbus.service.Object):
    def __init__(self, bus, record):
        super().__init__(bus, PATH)
        self.record = record
        self.last_id = 0

    @dbus.service.method(NAME, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app_name, replaces_id, app_icon, summary, body, actions, hints, timeout):
        self.last_id += 1
        entry = {
            "app_name": str(app_name),
            "replaces_id": int(replaces_id),
            "app_icon": str(app_icon),
            "summary": str(summary),
            "body": str(body),
            "urgency": int(hints["urgency"]) if "urgency" in hints else None,
            "timeout": int(timeout),
        }
        with open(self.record, "a", encoding="utf-8") as out:
            out.write(json.dumps(entry, ensure_ascii=False) + "\n")
        return dbus.UInt32(self.last_id)

    @dbus.service.method(NAME, in_signature="", out_signature="as")
    def GetCapabilities(self):
        return ["body"]

    @dbus.service.method(NAME, in_signature="", out_signature="ssss")
    def GetServerInformation(self):
        return ("amperlog-e2e", "amperlog", "1", "1.2")

    @dbus.service.method(NAME, in_signature="u", out_signature="")
    def CloseNotification(self, notification_id):
        pass


def main():
    record, ready = sys.argv[1], sys.argv[2]
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    server = NotificationServer(bus, record)
    name = dbus.service.BusName(NAME, bus, do_not_queue=True)
    Path(ready).write_text("ready\n", encoding="ascii")
    GLib.MainLoop().run()
    del name, server


if __name__ == "__main__":
    main()
