"""What the end-to-end scenarios stand on: waiting on conditions, the X server (xdotool,
ImageMagick), and one running copy of the test build in a program folder of its own.

Nothing here sleeps for a fixed time to let something happen: every wait polls a condition
until it holds or a timeout passes.
"""

import contextlib
import datetime
import json
import math
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass
from pathlib import Path

import layout

# Generous: the CI build runs under AddressSanitizer on a shared two-core machine.
TIMEOUT = 20.0
POLL = 0.05


class Failure(Exception):
    """A scenario's expectation did not hold."""


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, condition, timeout=TIMEOUT):
    """Polls condition() until it returns something true and returns that."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = condition()
            if value:
                return value
        except (OSError, ValueError, IndexError, KeyError) as error:
            last_error = error
        if time.monotonic() >= deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            raise Failure(f"timed out after {timeout:.0f} s waiting for {what}{detail}")
        time.sleep(POLL)


def run(*command, check_status=True, timeout=120, **kwargs):
    result = subprocess.run(
        [str(part) for part in command],
        capture_output=True,
        text=True,
        timeout=timeout,
        **kwargs,
    )
    if check_status and result.returncode != 0:
        raise Failure(
            f"{' '.join(map(str, command))} exited with {result.returncode}: "
            f"{result.stderr.strip()[-600:]}"
        )
    return result


def _stop_all(started):
    """Ends the helper processes, last started first; one that ignores the request is killed."""
    for process in reversed(started):
        process.terminate()
        try:
            process.wait(TIMEOUT)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait(TIMEOUT)
        if process.stdout is not None:
            process.stdout.close()


# ---- the X server ----


def xdotool(*args):
    return run("xdotool", *args).stdout


def pointer():
    values = dict(line.split("=", 1) for line in xdotool("getmouselocation", "--shell").split())
    return int(values["X"]), int(values["Y"])


def mouse_move(x, y):
    # --sync waits for the pointer to move, which it never does when it is there already.
    if pointer() != (int(x), int(y)):
        xdotool("mousemove", "--sync", int(x), int(y))


def park_pointer():
    """Moves the pointer to a corner away from every window, so that no tooltip or hover face
    shows in a screenshot."""
    mouse_move(0, 799)


# A click closer than this to the one before is a double click to the desktop (Qt's interval is
# 400 ms, Windows' 500 ms): its press never arrives as a press of its own, and the icon's menu,
# for one, does not open. A user clicks no faster; neither does the suite.
DOUBLE_CLICK_INTERVAL = 0.5
_last_click = -DOUBLE_CLICK_INTERVAL


def click_at(x, y, button=1):
    global _last_click
    mouse_move(x, y)
    wait = _last_click + DOUBLE_CLICK_INTERVAL - time.monotonic()
    if wait > 0:
        time.sleep(wait)
    xdotool("click", button)
    _last_click = time.monotonic()


def drag(start, end, steps=10, settled=None):
    """Presses the left button at start, moves to end in steps, releases there. The first
    step is a single pixel: a window move begins at the first motion with the button held, so
    the distance moved after it is end - start less that pixel. settled, when given, is called
    after that first step to wait until the program has seen it."""
    mouse_move(*start)
    xdotool("mousedown", 1)
    try:
        xdotool("mousemove", "--sync", start[0] + 1, start[1])
        if settled is not None:
            settled()
        for step in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * step / steps
            y = start[1] + (end[1] - start[1]) * step / steps
            xdotool("mousemove", int(x), int(y))
    finally:
        xdotool("mouseup", 1)


def key(*keys):
    xdotool("key", "--clearmodifiers", *keys)


def type_text(text):
    xdotool("type", "--delay", 20, text)


def visible_windows(pid, name=None):
    """Ids of the visible top-level windows of a process, optionally by exact title."""
    args = ["search", "--all", "--onlyvisible", "--pid", str(pid)]
    if name is not None:
        args += ["--name", f"^{name}$"]
    result = run("xdotool", *args, check_status=False)
    return [int(line) for line in result.stdout.split()]


def window_geometry(window):
    """(x, y, width, height) of a window on the screen."""
    values = {}
    for line in xdotool("getwindowgeometry", "--shell", window).splitlines():
        name, _, value = line.partition("=")
        values[name] = int(value) if value.lstrip("-").isdigit() else value
    return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]


def tray_hosts():
    """(x, y, width, height) of each window of the tray host, trayer: its panel grows from
    nothing to hold the icons docked in it."""
    return [window_geometry(int(w)) for w in xdotool("search", "--class", "trayer").split()]


def rect_contains(rect, point):
    x, y, width, height = rect
    return x <= point[0] < x + width and y <= point[1] < y + height


def screenshot(path, region=None):
    """The screen, or a region (x, y, width, height) of it, as a PNG file."""
    command = ["import", "-window", "root"]
    if region is not None:
        x, y, width, height = (int(round(v)) for v in region)
        command += ["-crop", f"{width}x{height}+{x}+{y}", "+repage"]
    run(*command, path)
    return Path(path)


def window_screenshot(path, window):
    run("import", "-window", window, path)
    return Path(path)


def pixels_differing(first, second):
    """How many pixels of two same-sized images differ."""
    result = run("compare", "-metric", "AE", first, second, "null:", check_status=False)
    if result.returncode > 1:
        raise Failure(f"compare failed: {result.stderr.strip()}")
    return int(float(result.stderr.split()[0]))


def read_pixels(path):
    """An image's pixels: rows of (r, g, b) tuples, top row first."""
    values = run("convert", path, "-depth", "8", "-compress", "none", "ppm:-").stdout.split()
    width, height = int(values[1]), int(values[2])
    numbers = list(map(int, values[4:]))
    pixels = list(zip(numbers[0::3], numbers[1::3], numbers[2::3]))
    return [pixels[row * width:(row + 1) * width] for row in range(height)]


@contextlib.contextmanager
def display_without_tray():
    """A second X server with a window manager but no notification area, made DISPLAY for
    this process (and so for what it starts) until the block ends; both servers' programs
    see the same files. Ends only the processes it started."""
    previous = os.environ.get("DISPLAY")
    started = []
    with tempfile.TemporaryDirectory(prefix="amperlog-x-") as folder:
        display_file = Path(folder) / "display"
        try:
            with open(display_file, "w") as report, open(Path(folder) / "xvfb.log", "w") as log:
                started.append(subprocess.Popen(
                    ["Xvfb", "-displayfd", str(report.fileno()), "-screen", "0", "1280x800x24",
                     "-dpi", "96", "-nolisten", "tcp", "-noreset"],
                    stdout=log, stderr=log, pass_fds=(report.fileno(),)))
            number = wait_for("the second X server", lambda: display_file.read_text().strip())
            os.environ["DISPLAY"] = f":{number}"
            with open(Path(folder) / "openbox.log", "w") as log:
                started.append(subprocess.Popen(["openbox", "--sm-disable"], stdout=log,
                                                stderr=log))
            wait_for("openbox on the second X server",
                     lambda: "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK",
                                                check_status=False).stdout)
            yield os.environ["DISPLAY"]
        finally:
            if previous is None:
                os.environ.pop("DISPLAY", None)
            else:
                os.environ["DISPLAY"] = previous
            _stop_all(started)


# ---- the desktop's notification service ----


def _python_with_dbus():
    """This interpreter when it has the dbus and gi modules, else the system's, where Debian
    installs python3-dbus and python3-gi."""
    for candidate in (sys.executable, "/usr/bin/python3"):
        if run(candidate, "-c", "import dbus, gi", check_status=False).returncode == 0:
            return candidate
    raise Failure("no python3 with the dbus and gi modules: scripts/install-deps.sh --test")


class Notifications:
    """What the suite's notification server received, read from its record file."""

    def __init__(self, record, closed, address):
        self.record = Path(record)
        self.closed_record = Path(closed)
        # For the program's environment: the private session bus.
        self.env = {"DBUS_SESSION_BUS_ADDRESS": address}

    def received(self):
        if not self.record.exists():
            return []
        return [json.loads(line) for line in self.record.read_text(encoding="utf-8").splitlines()]

    def closed(self):
        """The ids the program asked the server to close, in order."""
        if not self.closed_record.exists():
            return []
        return [int(line) for line in self.closed_record.read_text(encoding="ascii").split()]


@contextlib.contextmanager
def notification_server(folder, log_dir):
    """A private session bus in folder with a notification server of the suite's own on it
    (notification_listener.py), until the block ends; yields its Notifications. Their output
    goes to log_dir. Ends only the processes it started."""
    folder = Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    ready = folder / "listener.ready"
    started = []
    with open(Path(log_dir) / "dbus-daemon.log", "ab") as bus_log, \
            open(Path(log_dir) / "notification-listener.log", "ab") as listener_log:
        try:
            bus = subprocess.Popen(
                ["dbus-daemon", "--session", "--nofork", "--print-address",
                 f"--address=unix:path={folder / 'bus'}"],
                stdout=subprocess.PIPE, stderr=bus_log, text=True)
            started.append(bus)
            # Printed once the bus listens; an empty line means the daemon ended.
            address = bus.stdout.readline().strip()
            check(address, f"dbus-daemon did not start (see {bus_log.name})")
            listener = subprocess.Popen(
                [_python_with_dbus(), str(Path(__file__).with_name("notification_listener.py")),
                 str(folder / "notifications.jsonl"), str(ready), str(folder / "closed.txt")],
                env=dict(os.environ, DBUS_SESSION_BUS_ADDRESS=address),
                stdout=listener_log, stderr=listener_log)
            started.append(listener)
            wait_for("the notification server to own its name",
                     lambda: ready.exists() or listener.poll() is not None)
            check(listener.poll() is None,
                  f"the notification server ended (see {listener_log.name})")
            yield Notifications(folder / "notifications.jsonl", folder / "closed.txt", address)
        finally:
            _stop_all(started)


# ---- files the program writes ----


def read_profile(path):
    """A private-profile file as {section: {key: value}}, names lower-cased, values unquoted."""
    sections = {}
    current = None
    try:
        text = Path(path).read_text(encoding="utf-8", errors="replace")
    except FileNotFoundError:
        return sections
    for raw in text.splitlines():
        line = raw.strip()
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1].strip().lower(), {})
        elif current is not None and "=" in line:
            name, _, value = line.partition("=")
            value = value.strip()
            if len(value) >= 2 and value[0] == value[-1] and value[0] in "\"'":
                value = value[1:-1]
            current[name.strip().lower()] = value
    return sections


def write_profile(path, sections):
    lines = []
    for section, values in sections.items():
        lines.append(f"[{section}]")
        lines += [f"{name}={value}" for name, value in values.items()]
    Path(path).write_text("\r\n".join(lines) + "\r\n", encoding="ascii")


def log_file_name(day):
    return day.strftime("%Y%m%d") + ".txt"


def log_line_time(day_time):
    """A time stamp as the daily log writes it: M/dd HH:mm:ss."""
    return f"{day_time.month}/{day_time:%d %H:%M:%S}"


# ---- widgets of the running program ----


@dataclass(frozen=True)
class Widget:
    name: str
    cls: str
    visible: bool
    focus: bool
    x: int
    y: int
    width: int
    height: int
    text: str
    tooltip: str = ""
    # A checkable menu item's check mark; None for everything else.
    checked: bool | None = None

    @property
    def rect(self):
        return (self.x, self.y, self.width, self.height)

    @property
    def centre(self):
        return (self.x + self.width // 2, self.y + self.height // 2)

    def contains(self, point):
        return rect_contains(self.rect, point)


def _unescape(text):
    out = []
    chars = iter(text)
    for char in chars:
        if char != "\\":
            out.append(char)
            continue
        following = next(chars, "")
        out.append({"t": "\t", "n": "\n", "r": "\r", "\\": "\\"}.get(following, following))
    return "".join(out)


def parse_widgets(text):
    widgets = []
    for line in text.splitlines():
        if line == "end":
            break
        fields = line.split("\t")
        if len(fields) < 9:
            continue
        name, cls, visible, focus, x, y, width, height = fields[:8]
        tooltip = _unescape(fields[9]) if len(fields) > 9 else ""
        checked = fields[10] == "1" if len(fields) > 10 and fields[10] else None
        widgets.append(
            Widget(name, cls, visible == "1", focus == "1", int(x), int(y), int(width),
                   int(height), _unescape(fields[8]), tooltip, checked)
        )
    return widgets


def has_japanese(text):
    """Whether text holds kana, kanji or a full-width form."""
    return any("\u3040" <= c <= "\u30ff" or "\u4e00" <= c <= "\u9fff" or "\uff00" <= c <= "\uffef"
               for c in text)


# ---- one copy of the program ----


class App:
    """The test build copied into a program folder of its own, started and driven there."""

    BINARY = "amperlog-e2e"
    MAIN_TITLE = "Battery Monitor"
    # The desktop's language, which the program's follows. The scenarios expect the Japanese
    # texts unless they ask otherwise; a CI machine's C locale would give English.
    JAPANESE = "ja_JP.UTF-8"
    ENGLISH = "en_US.UTF-8"

    def __init__(self, binary, folder, out_dir, clock=datetime.time(12, 0, 0), day=None,
                 lang=JAPANESE):
        self.folder = Path(folder)
        self.folder.mkdir(parents=True, exist_ok=True)
        self.exe = self.folder / self.BINARY
        if not self.exe.exists():
            shutil.copy2(binary, self.exe)
        self.out_dir = Path(out_dir)
        self.process = None
        self.window = None
        self.lang = lang
        self.slept = 0
        self.set_clock(clock, day)

    # -- scripted world --

    def set_clock(self, time_of_day, day=None):
        """Makes the program's clock read time_of_day now and run on from there."""
        now = datetime.datetime.now()
        target = datetime.datetime.combine(day or now.date(), time_of_day)
        # Rounded up: the program's clock never reads a moment before time_of_day, however
        # soon after this it starts.
        self.clock_offset = math.ceil((target - now).total_seconds())
        self._write("clock-offset.txt", f"{self.clock_offset}\n")

    def advance_clock(self, seconds):
        self.clock_offset += seconds
        self._write("clock-offset.txt", f"{self.clock_offset}\n")

    def sleep(self, seconds):
        """Makes the next tick see a sleep of that many seconds: the clock that runs through
        sleep moves on, the one that stops in sleep does not."""
        self.slept += seconds
        self._write("sleep-offset.txt", f"{self.slept}\n")

    def now(self):
        """The program's present time."""
        return datetime.datetime.now() + datetime.timedelta(seconds=self.clock_offset)

    def set_power(self, line):
        self._write("power.txt", line + "\n")

    def _write(self, name, text):
        # Replaced in one step, so the program never reads half a line.
        temporary = self.folder / (name + ".new")
        temporary.write_text(text, encoding="ascii")
        os.replace(temporary, self.folder / name)

    # -- its files --

    @property
    def settings_path(self):
        return self.folder / (self.BINARY + ".ini")

    def settings(self, section="work"):
        return read_profile(self.settings_path).get(section.lower(), {})

    def setting(self, name, section="work"):
        return self.settings(section).get(name.lower())

    def write_settings(self, sections):
        write_profile(self.settings_path, sections)

    def log_path(self, day=None):
        return self.folder / "Data" / log_file_name(day or self.now().date())

    def log_lines(self, day=None):
        path = self.log_path(day)
        if not path.exists():
            return []
        return path.read_bytes().decode("ascii", errors="replace").split("\r\n")[:-1]

    def spoken(self):
        path = self.folder / "spoken.txt"
        if not path.exists():
            return []
        return path.read_text(encoding="utf-8").splitlines()

    # -- the process --

    def environment(self, extra_env=None):
        env = dict(os.environ)
        for name in ("LANGUAGE", "LC_ALL", "LC_MESSAGES"):
            env.pop(name, None)
        env["LANG"] = self.lang
        env.update(extra_env or {})
        return env

    def command(self):
        """What starts the program."""
        return [str(self.exe)]

    def start(self, extra_env=None):
        self.log = open(self.out_dir / f"{self.folder.name}.stderr.log", "ab")
        env = self.environment(extra_env)
        self.process = subprocess.Popen(
            self.command(), cwd=self.folder, stdout=self.log, stderr=self.log, env=env
        )
        self.window = None
        return self.process

    def run_second_copy(self, timeout=TIMEOUT):
        """Runs another copy in the same folder to its end; returns (exit code, seconds)."""
        env = self.environment()
        started = time.monotonic()
        with open(self.out_dir / f"{self.folder.name}.second.log", "ab") as log:
            result = subprocess.run(self.command(), cwd=self.folder, stdout=log, stderr=log,
                                    env=env, timeout=timeout)
        return result.returncode, time.monotonic() - started

    @property
    def pid(self):
        return self.process.pid

    def running(self):
        return self.process is not None and self.process.poll() is None

    def wait_main_window(self):
        """Waits for the visible main window; returns its X window id."""
        def shown():
            check(self.running(), f"the program ended with {self.process.returncode}")
            windows = visible_windows(self.pid, self.MAIN_TITLE)
            return windows[0] if windows else None
        self.window = wait_for("the main window to show", shown)
        return self.window

    def geometry(self):
        return window_geometry(self.window)

    def wait_exit(self, timeout=TIMEOUT):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program did not end within {timeout:.0f} s") from None

    def kill(self, sig=signal.SIGKILL):
        if self.running():
            self.process.send_signal(sig)
            self.process.wait(TIMEOUT)

    def close(self):
        """Closes the window with its close button, as a user ends the program; returns the
        exit code, or None when the window is not on the screen."""
        if not self.running() or not visible_windows(self.pid, self.MAIN_TITLE):
            return None
        self.window = visible_windows(self.pid, self.MAIN_TITLE)[0]
        _, _, width, height = self.geometry()
        self.click(layout.centre(layout.main_window(width, height)["picClose"]))
        return self.wait_exit()

    def stop(self):
        """Ends a copy a scenario left running (its own process only)."""
        if self.running():
            self.process.terminate()
            try:
                self.process.wait(TIMEOUT)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(TIMEOUT)

    # -- its widgets --

    def request_widgets(self):
        self.process.send_signal(signal.SIGUSR1)

    def widgets(self):
        """Asks the program for its widgets and returns them."""
        dump = self.folder / "widgets.txt"
        dump.unlink(missing_ok=True)
        check(self.running(), f"the program ended with {self.process.returncode}")
        self.request_widgets()
        text = wait_for(
            "the widget list",
            lambda: dump.exists() and dump.read_text(encoding="utf-8").endswith("end\n")
            and dump.read_text(encoding="utf-8"),
        )
        return parse_widgets(text)

    def widget(self, name, cls=None, visible_only=True):
        """The widget named name (the first visible one when there are several)."""
        for widget in self.widgets():
            if widget.name == name and (cls is None or widget.cls == cls):
                if widget.visible or not visible_only:
                    return widget
        return None

    def wait_widget(self, what, condition, name, cls=None):
        """Waits until the visible widget named name satisfies condition; returns it."""
        def holds():
            widget = self.widget(name, cls)
            return widget if widget is not None and condition(widget) else None
        return wait_for(what, holds)

    def wait_gone(self, what, name, cls=None):
        wait_for(what, lambda: self.widget(name, cls) is None)

    # -- what a user does --

    def at(self, point):
        """A point of the window (client = window: it is frameless) on the screen."""
        x, y, _, _ = self.geometry()
        return (x + point[0], y + point[1])

    def click(self, point, button=1):
        click_at(*self.at(point), button=button)

    def click_widget_centre(self, name, button=1):
        widget = self.widget(name)
        check(widget is not None, f"{name} is not shown")
        click_at(*widget.centre, button=button)

    def activate(self):
        xdotool("windowactivate", "--sync", self.window)

    def shot(self, label, region=None):
        """A screenshot kept in the output folder; a later one of the same label replaces it."""
        return screenshot(self.out_dir / f"{self.folder.name}-{label}.png", region)
