"""A notification server of the suite's own: owns org.freedesktop.Notifications on the session
bus of DBUS_SESSION_BUS_ADDRESS and appends each notification it is sent to a file, one JSON
object a line, with the id it answered; each id it is asked to close goes to a third file, one
JSON number a line. Once it owns the name it writes "ready" to a second file.

    notification_listener.py <record file> <ready file> <closed file>

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


def image_size(hints):
    """(width, height) of an image-data hint whose pixels fill its rows, else None."""
    if "image-data" not in hints:
        return None
    width, height, stride, _alpha, bits, channels, data = hints["image-data"]
    complete = (int(bits) == 8 and int(stride) >= int(width) * int(channels)
                and len(data) == int(stride) * int(height))
    return [int(width), int(height)] if complete and int(width) > 0 else None


class NotificationServer(dbus.service.Object):
    def __init__(self, bus, record, closed):
        super().__init__(bus, PATH)
        self.record = record
        self.closed = closed
        self.last_id = 0
        self.open = set()

    @dbus.service.method(NAME, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app_name, replaces_id, app_icon, summary, body, actions, hints, timeout):
        # As the freedesktop protocol says: a notification still open is replaced under its own id.
        if replaces_id in self.open:
            notification_id = int(replaces_id)
        else:
            self.last_id += 1
            notification_id = self.last_id
        self.open.add(notification_id)
        entry = {
            "id": notification_id,
            "app_name": str(app_name),
            "replaces_id": int(replaces_id),
            "app_icon": str(app_icon),
            "summary": str(summary),
            "body": str(body),
            "urgency": int(hints["urgency"]) if "urgency" in hints else None,
            "image": image_size(hints),
            "timeout": int(timeout),
        }
        with open(self.record, "a", encoding="utf-8") as out:
            out.write(json.dumps(entry, ensure_ascii=False) + "\n")
        return dbus.UInt32(notification_id)

    @dbus.service.method(NAME, in_signature="", out_signature="as")
    def GetCapabilities(self):
        return ["body"]

    @dbus.service.method(NAME, in_signature="", out_signature="ssss")
    def GetServerInformation(self):
        return ("amperlog-e2e", "amperlog", "1", "1.2")

    @dbus.service.method(NAME, in_signature="u", out_signature="")
    def CloseNotification(self, notification_id):
        self.open.discard(int(notification_id))
        with open(self.closed, "a", encoding="utf-8") as out:
            out.write(f"{int(notification_id)}\n")


def main():
    record, ready, closed = sys.argv[1], sys.argv[2], sys.argv[3]
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    server = NotificationServer(bus, record, closed)
    name = dbus.service.BusName(NAME, bus, do_not_queue=True)
    Path(ready).write_text("ready\n", encoding="ascii")
    GLib.MainLoop().run()
    del name, server


if __name__ == "__main__":
    main()
