#!/usr/bin/env python3
"""Writes Data/ of a program folder: a week of daily logs, the health and the sleep diary.

The week runs from Tuesday 2026-10-20 to Monday 2026-10-26 in Europe/Berlin, whose clock goes
back on Sunday the 25th at 03:00 summer time. The program runs with an interval of 8 minutes.
Times below are local; the lines' instants are real ones, so the hour the clock repeats comes
out in the log as it does in the program's: 02:52:00 followed by 02:00:00.

Run it from anywhere; the output is committed beside it.
"""

import datetime
import pathlib
from zoneinfo import ZoneInfo

ZONE = ZoneInfo("Europe/Berlin")
INTERVAL = datetime.timedelta(minutes=8)
HERE = pathlib.Path(__file__).resolve().parent


def local(text, fold=0):
    """An instant from a local 'MM-DD HH:MM' of 2026; fold=1 the second pass of a repeated hour."""
    return datetime.datetime.strptime("2026-" + text, "%Y-%m-%d %H:%M").replace(
        tzinfo=ZONE, fold=fold).astimezone(datetime.timezone.utc)


# Each stretch the program ran in one state: from, to, power, percent at from and at to,
# the marker of its first line, and whether a line closes it at `to` (the program stopped
# then, or paused). A stretch without a closing line is followed at once by the next one,
# or by a sleep; its first line is then the change line.
STRETCHES = [
    ("10-20 08:00", "10-20 12:00", "Power", 96, 100, "Monitor", False),
    ("10-20 12:00", "10-20 16:00", "Batt", 100, 60, "", False),
    ("10-20 16:00", "10-20 22:00", "Power", 60, 100, "", False),
    # Across midnight on battery, then the program stops.
    ("10-20 22:00", "10-21 00:40", "Batt", 100, 80, "", True),
    # A restart: the charge fell while the program was away, unseen.
    ("10-21 09:00", "10-21 13:00", "Power", 78, 95, "Monitor", False),
    ("10-21 13:00", "10-21 17:00", "Batt", 95, 65, "", False),
    ("10-21 17:00", "10-21 18:04", "Power", 65, 70, "", True),
    # Asleep on battery from 12:15 to 15:15 (the sleep diary), the lid closed 3 minutes
    # after the last line.
    ("10-22 07:00", "10-22 09:00", "Power", 90, 100, "Monitor", False),
    ("10-22 09:00", "10-22 12:15", "Batt", 100, 76, "", False),
    ("10-22 15:15", "10-22 16:51", "Batt", 73, 61, "+", False),
    ("10-22 16:51", "10-22 19:07", "Power", 61, 75, "", True),
    # No line from 12:00 to 14:00 and no sleep either: not seen.
    ("10-23 08:00", "10-23 10:00", "Power", 88, 90, "Monitor", False),
    ("10-23 10:00", "10-23 12:00", "Batt", 90, 75, "", True),
    ("10-23 14:00", "10-23 15:04", "Batt", 70, 62, "+", False),
    ("10-23 15:04", "10-24 02:00", "Power", 62, 80, "", False),
    # Asleep on mains from 02:00 to 06:00.
    ("10-24 06:00", "10-24 10:00", "Power", 80, 80, "+", False),
    ("10-24 10:00", "10-24 11:04", "Batt", 80, 72, "", False),
    ("10-24 11:04", "10-25 01:00", "Power", 72, 70, "", False),
    # On battery from 01:00 to 03:00 summer time, on mains again from 02:00 winter time.
    ("10-25 01:00", ("10-25 02:00", 1), "Batt", 70, 55, "", False),
    (("10-25 02:00", 1), "10-25 20:00", "Power", 55, 100, "", False),
    ("10-25 20:00", "10-25 22:00", "Batt", 100, 85, "", False),
    ("10-25 22:00", "10-26 08:00", "Power", 85, 100, "", False),
    ("10-26 08:00", "10-26 10:00", "Batt", 100, 80, "", False),
    ("10-26 10:00", "10-26 12:00", "Power", 80, 90, "", True),
]

HEALTH = [
    "date,battery,design_wh,full_wh,health_percent,cycles",
    "2026-10-20,ACME BAT-42 0001,50.00,45.00,90.0,100",
    "2026-10-23,ACME BAT-42 0001,50.00,44.00,88.0,102",
]

SLEEPS = [
    "start,end,seconds,percent_before,percent_after,wh_before,wh_after,on_mains_before,"
    "on_mains_after",
    "2026-10-22T12:15:00,2026-10-22T15:15:00,10800,76,73,34.20,32.85,0,0",
    "2026-10-24T02:00:00,2026-10-24T06:00:00,14400,80,80,35.20,35.20,1,1",
]


def instant(spec):
    return local(*spec) if isinstance(spec, tuple) else local(spec)


def lines():
    """(instant, power, percent, marker) of every line, oldest first."""
    out = []
    for start, end, power, first, last, marker, closed in STRETCHES:
        begin, finish = instant(start), instant(end)
        length = (finish - begin).total_seconds()
        t = begin
        while t < finish or (closed and t == finish):
            done = (t - begin).total_seconds() / length
            percent = round(first + (last - first) * done)
            day_start = t.astimezone(ZONE).replace(hour=0, minute=0, second=0)
            mark = marker if t == begin else "+"
            if t.astimezone(ZONE) == day_start and mark != "Monitor":
                mark = "day changed"
            out.append((t, power, percent, mark))
            t += INTERVAL
    return out


def format_line(t, power, percent, marker):
    shown = t.astimezone(ZONE)
    remain = str(percent * 270) if power == "Batt" else "Charge"
    stamp = f"{shown.month}/{shown.day:02d} {shown:%H:%M:%S}"
    return f"{stamp},{power},{percent}%,{remain},{marker}\r\n"


def main():
    data = HERE / "Data"
    data.mkdir(exist_ok=True)
    for old in data.glob("*.txt"):
        old.unlink()
    days = {}
    for t, power, percent, marker in lines():
        name = f"{t.astimezone(ZONE):%Y%m%d}.txt"
        days.setdefault(name, []).append(format_line(t, power, percent, marker))
    for name, text in days.items():
        (data / name).write_bytes("".join(text).encode("ascii"))
    (data / "health.csv").write_bytes(("\n".join(HEALTH) + "\n").encode("ascii"))
    (data / "sleep.csv").write_bytes(("\n".join(SLEEPS) + "\n").encode("ascii"))


if __name__ == "__main__":
    main()
