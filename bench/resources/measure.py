"""What the running program costs the machine it watches: start-up time to the window on
screen, then two copies side by side for a given time, one on a battery whose status changes
once a minute and one idle on mains, each watched through /proc and inotify.

Run by measure.sh, which starts the X servers; see docs/PERFORMANCE.md.
"""

import argparse
import ctypes
import ctypes.util
import datetime
import json
import os
import select
import shutil
import signal
import statistics
import struct
import subprocess
import sys
import time
from pathlib import Path

BINARY = "amperlog-e2e"
TITLE = b"Battery Monitor"
MAINS = "1 9 100 -1 -1"
# Files the script itself writes into a program folder.
SCRIPT_FILES = {"power.txt", "power.txt.new", "clock-offset.txt"}
CLOCK_TICK = os.sysconf("SC_CLK_TCK")
# How often the processes are read; file writes are seen the moment they happen.
SAMPLE_SECONDS = 10


# ---- the X server: waiting for the window to be mapped, without polling ----


class XMapEvent(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("event", ctypes.c_ulong),
        ("window", ctypes.c_ulong),
        ("override_redirect", ctypes.c_int),
    ]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xmap", XMapEvent), ("pad", ctypes.c_long * 24)]


MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


class MapWatcher:
    """Reports the moment a top-level window of the given title is mapped on a display."""

    def __init__(self, display):
        self.x = ctypes.CDLL(ctypes.util.find_library("X11"))
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        self.x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        self.x.XPending.argtypes = [ctypes.c_void_p]
        self.x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
        self.x.XFetchName.argtypes = [
            ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        self.x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.dpy = self.x.XOpenDisplay(display.encode())
        if not self.dpy:
            raise SystemExit(f"measure: cannot open display {display}")
        root = self.x.XDefaultRootWindow(self.dpy)
        self.x.XSelectInput(self.dpy, root, SUBSTRUCTURE_NOTIFY_MASK)
        self.x.XFlush(self.dpy)
        self.fd = self.x.XConnectionNumber(self.dpy)

    def close(self):
        self.x.XCloseDisplay(self.dpy)

    def title(self, window):
        name = ctypes.c_char_p()
        if not self.x.XFetchName(self.dpy, window, ctypes.byref(name)) or not name.value:
            return b""
        value = name.value
        self.x.XFree(name)
        return value

    def wait_mapped(self, timeout):
        """Monotonic time at which a window titled TITLE was mapped, or None."""
        deadline = time.monotonic() + timeout
        event = XEvent()
        while True:
            while self.x.XPending(self.dpy):
                self.x.XNextEvent(self.dpy, ctypes.byref(event))
                if event.type == MAP_NOTIFY:
                    at = time.monotonic()
                    if self.title(event.xmap.window) == TITLE:
                        return at
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            select.select([self.fd], [], [], left)


# ---- inotify: every file the program writes, with the moment ----

IN_MODIFY = 0x002
IN_CLOSE_WRITE = 0x008
IN_MOVED_TO = 0x080
IN_CREATE = 0x100
IN_ISDIR = 0x40000000
IN_NONBLOCK = 0o4000


class FolderWatch:
    def __init__(self, folder):
        self.libc = ctypes.CDLL(None, use_errno=True)
        self.fd = self.libc.inotify_init1(IN_NONBLOCK)
        if self.fd < 0:
            raise SystemExit("measure: inotify is not available")
        self.folders = {}
        self.events = []  # (monotonic time, relative path, kind)
        self.add(Path(folder), Path("."))

    def add(self, path, relative):
        mask = IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE
        wd = self.libc.inotify_add_watch(self.fd, str(path).encode(), mask)
        if wd >= 0:
            self.folders[wd] = (path, relative)

    def poll(self):
        while True:
            try:
                data = os.read(self.fd, 65536)
            except BlockingIOError:
                return
            now = time.monotonic()
            offset = 0
            while offset < len(data):
                wd, mask, _cookie, size = struct.unpack_from("iIII", data, offset)
                name = data[offset + 16:offset + 16 + size].rstrip(b"\0").decode(errors="replace")
                offset += 16 + size
                path, relative = self.folders.get(wd, (None, None))
                if path is None:
                    continue
                if mask & IN_CREATE and mask & IN_ISDIR:
                    self.add(path / name, relative / name)
                    # What was written there before the watch began.
                    for entry in sorted((path / name).iterdir()):
                        self.events.append((now, str(relative / name / entry.name), "create"))
                    continue
                kind = ("write" if mask & IN_MODIFY else "close" if mask & IN_CLOSE_WRITE
                        else "rename" if mask & IN_MOVED_TO else "create")
                self.events.append((now, str(relative / name), kind))

    def close(self):
        os.close(self.fd)


# ---- /proc ----


def read_text(path):
    with open(path, "rb") as f:
        return f.read().decode(errors="replace")


def status_fields(text):
    fields = {}
    for line in text.splitlines():
        name, _, value = line.partition(":")
        fields[name] = value.strip()
    return fields


def cpu_ticks(pid):
    """utime + stime of the whole process, in clock ticks."""
    stat = read_text(f"/proc/{pid}/stat")
    fields = stat[stat.rindex(")") + 2:].split()
    return int(fields[11]) + int(fields[12])


def sample(pid):
    """One reading of the process: CPU, memory, context switches, I/O."""
    s = {"t": time.monotonic(), "ticks": cpu_ticks(pid)}
    status = status_fields(read_text(f"/proc/{pid}/status"))
    s["rss_kb"] = int(status["VmRSS"].split()[0])
    s["hwm_kb"] = int(status["VmHWM"].split()[0])
    s["runtime_ns"] = 0
    s["switches"] = 0
    s["main_switches"] = 0
    s["threads"] = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            s["runtime_ns"] += int(read_text(f"/proc/{pid}/task/{task}/schedstat").split()[0])
            fields = status_fields(read_text(f"/proc/{pid}/task/{task}/status"))
        except (FileNotFoundError, ProcessLookupError):
            continue  # a thread that ended meanwhile
        switches = int(fields["voluntary_ctxt_switches"]) + int(
            fields["nonvoluntary_ctxt_switches"])
        s["switches"] += switches
        s["threads"] += 1
        if task == str(pid):
            s["main_switches"] = switches
            s["main_voluntary"] = int(fields["voluntary_ctxt_switches"])
    io = status_fields(read_text(f"/proc/{pid}/io"))
    s["write_bytes"] = int(io["write_bytes"])
    s["wchar"] = int(io["wchar"])
    s["syscw"] = int(io["syscw"])
    return s


def x_server_ticks(pid):
    return cpu_ticks(pid) if pid else 0


# ---- one copy of the program ----


def prepare_folder(folder, binary, power):
    if folder.exists():
        shutil.rmtree(folder)
    folder.mkdir(parents=True)
    shutil.copy2(binary, folder / BINARY)
    (folder / "clock-offset.txt").write_text("0\n")
    set_power(folder, power)


def set_power(folder, line):
    # Replaced in one step, so the program never reads half a line.
    temporary = folder / "power.txt.new"
    temporary.write_text(line + "\n")
    os.replace(temporary, folder / "power.txt")


def start(folder, display, log):
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb")
    return subprocess.Popen([str(folder / BINARY)], cwd=folder, env=env, stdout=log,
                            stderr=log)


def stop(process):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait(10)


def battery_line(minute):
    """The battery's status in the given minute: one percent less each minute."""
    percent = max(5, 95 - minute)
    flag = 1 if percent > 66 else 2 if percent < 33 else 0
    return f"0 {flag} {percent} {percent * 150} 15000"


# ---- start-up ----


def measure_startups(binary, display, work, count, log):
    watcher = MapWatcher(display)
    results = []
    try:
        for i in range(count):
            folder = work / f"start-{i + 1}"
            prepare_folder(folder, binary, MAINS)
            began = time.monotonic()
            process = start(folder, display, log)
            mapped = watcher.wait_mapped(20)
            ticks = cpu_ticks(process.pid) if process.poll() is None else None
            stop(process)
            if mapped is None:
                raise SystemExit("measure: the window did not show within 20 s")
            results.append({"ms": (mapped - began) * 1000, "cpu_ms": ticks * 1000 / CLOCK_TICK})
    finally:
        watcher.close()
    return results


# ---- the long runs ----


class Scenario:
    def __init__(self, name, binary, display, xvfb_pid, work, log):
        self.name = name
        self.folder = work / name
        prepare_folder(self.folder, binary, battery_line(0) if name == "battery" else MAINS)
        self.display = display
        self.xvfb_pid = xvfb_pid
        self.log = log
        self.watch = FolderWatch(self.folder)
        self.process = None
        self.samples = []
        self.power_changes = []

    def start(self):
        self.began_wall = datetime.datetime.now()
        self.began = time.monotonic()
        self.process = start(self.folder, self.display, self.log)

    def running(self):
        return self.process.poll() is None

    def take_sample(self):
        self.watch.poll()
        s = sample(self.process.pid)
        s["xvfb_ticks"] = x_server_ticks(self.xvfb_pid)
        self.samples.append(s)

    def minute_passed(self, minute):
        if self.name == "battery":
            set_power(self.folder, battery_line(minute))
            self.power_changes.append(time.monotonic())


def log_line_times(folder, began_wall, began_mono):
    """Monotonic times of the lines in the program's logs (real clock, offset 0)."""
    times = []
    for path in sorted((folder / "Data").glob("*.txt")):
        year = int(path.stem[:4])
        for line in path.read_bytes().decode(errors="replace").split("\r\n"):
            stamp = line.split(",")[0]
            try:
                at = datetime.datetime.strptime(f"{year}/{stamp}", "%Y/%m/%d %H:%M:%S")
            except ValueError:
                continue
            times.append(began_mono + (at - began_wall).total_seconds())
    return times


def summarise(scenario, settle):
    samples = scenario.samples
    first = next(s for s in samples if s["t"] - scenario.began >= settle)
    last = samples[-1]
    seconds = last["t"] - first["t"]
    cpu = (last["ticks"] - first["ticks"]) / CLOCK_TICK
    runtime = (last["runtime_ns"] - first["runtime_ns"]) / 1e9
    xcpu = (last["xvfb_ticks"] - first["xvfb_ticks"]) / CLOCK_TICK
    minute = next((s for s in samples if s["t"] - scenario.began >= 60), first)
    rss_after = [s["rss_kb"] for s in samples if s["t"] >= minute["t"]]

    lines = log_line_times(scenario.folder, scenario.began_wall, scenario.began)
    # Up to the last reading: the lock file goes when the copy is stopped.
    writes = [(t, name, kind) for t, name, kind in scenario.watch.events
              if name not in SCRIPT_FILES and t <= last["t"]]
    # Created, then renamed over the file they replace: gone once the copy has stopped. The
    # lock file goes with the copy too, but is not a temporary.
    temporaries = {name for _, name, kind in writes
                   if kind == "create" and not name.endswith(".lock")
                   and not (scenario.folder / name).exists()}
    written = sorted({name for _, name, _ in writes} - temporaries)
    # A write belongs to a log line when it falls in the same second or the next one.
    stray = [(t, name) for t, name, _ in writes
             if t >= first["t"] and not any(-1.5 <= t - line <= 2.5 for line in lines)]
    seconds_with_writes = sorted({round(t - scenario.began) for t, _, _ in writes})
    return {
        "seconds": seconds,
        "cpu_seconds": cpu,
        "cpu_percent": 100 * cpu / seconds,
        "runtime_seconds": runtime,
        "runtime_percent": 100 * runtime / seconds,
        "whole_cpu_seconds": last["ticks"] / CLOCK_TICK,
        "xvfb_cpu_seconds": xcpu,
        "xvfb_cpu_percent": 100 * xcpu / seconds,
        "wakeups_per_second": (last["switches"] - first["switches"]) / seconds,
        "main_wakeups_per_second": (last["main_switches"] - first["main_switches"]) / seconds,
        "main_voluntary_per_second": (
            last["main_voluntary"] - first["main_voluntary"]) / seconds,
        "threads": last["threads"],
        "rss_mb": last["rss_kb"] / 1024,
        "hwm_mb": last["hwm_kb"] / 1024,
        "rss_after_first_minute_min_mb": min(rss_after) / 1024,
        "rss_after_first_minute_max_mb": max(rss_after) / 1024,
        "write_bytes": last["write_bytes"] - first["write_bytes"],
        "wchar": last["wchar"] - first["wchar"],
        "write_calls": last["syscw"] - first["syscw"],
        "whole_write_bytes": last["write_bytes"],
        "log_lines": len(lines),
        "files_written": written,
        "file_events": len(writes),
        "temporary_files": len(temporaries),
        "seconds_with_writes": len(seconds_with_writes),
        "stray_writes": len(stray),
        "stray_examples": [f"{t - scenario.began:.1f}s {name}" for t, name in stray[:5]],
    }


def run_scenarios(binary, displays, xvfb_pids, work, duration, settle, log):
    scenarios = [Scenario(name, binary, display, pid, work, log)
                 for name, display, pid in zip(("battery", "mains"), displays, xvfb_pids)]
    watches = {s.watch.fd: s.watch for s in scenarios}
    for scenario in scenarios:
        scenario.start()
    began = time.monotonic()
    end = began + duration
    next_sample = began
    next_minute = began + 60
    minute = 0
    try:
        while True:
            now = time.monotonic()
            if now >= next_sample:
                for scenario in scenarios:
                    if not scenario.running():
                        raise SystemExit(f"measure: the {scenario.name} copy ended with "
                                         f"{scenario.process.returncode}")
                    scenario.take_sample()
                next_sample += SAMPLE_SECONDS
            if now >= next_minute:
                minute += 1
                next_minute += 60
                for scenario in scenarios:
                    scenario.minute_passed(minute)
            if now >= end:
                break
            # Asleep until the next sample unless a file is written: a sampler waking every
            # second would disturb the very ticks it measures.
            wait = min(next_sample, next_minute, end) - time.monotonic()
            if wait > 0:
                readable, _, _ = select.select(list(watches), [], [], wait)
                for fd in readable:
                    watches[fd].poll()
        for scenario in scenarios:
            scenario.take_sample()
    finally:
        for scenario in scenarios:
            stop(scenario.process)
            scenario.watch.poll()
            scenario.watch.close()
    return {s.name: summarise(s, settle) for s in scenarios}


# ---- the report ----


def machine():
    model = ""
    for line in read_text("/proc/cpuinfo").splitlines():
        if line.startswith("model name"):
            model = line.partition(":")[2].strip()
            break
    return {"nproc": os.cpu_count(), "cpu": model,
            "load": read_text("/proc/loadavg").split()[:3]}


def report(result):
    m = result["machine"]
    out = [f"# Amperlog resident cost, {result['when']}", "",
           f"Machine: {m['nproc']} CPUs, {m['cpu']}; load average before "
           f"{' '.join(result['load_before'])}, after {' '.join(m['load'])}.",
           f"Build: {result['binary']}", ""]
    starts = result["startups"]
    times = [s["ms"] for s in starts]
    out += ["## Start to window on screen", "",
            "| run | ms to mapped | CPU ms until then |", "| --- | ---: | ---: |"]
    out += [f"| {i + 1} | {s['ms']:.0f} | {s['cpu_ms']:.0f} |" for i, s in enumerate(starts)]
    out += ["", f"median {statistics.median(times):.0f} ms, best {min(times):.0f} ms, "
            f"worst {max(times):.0f} ms", ""]
    rows = [
        ("measured seconds (after the first {settle} s)", "seconds", "{:.0f}"),
        ("CPU seconds, utime+stime", "cpu_seconds", "{:.2f}"),
        ("CPU, % of one core", "cpu_percent", "{:.3f}"),
        ("CPU seconds, scheduler run time of all threads", "runtime_seconds", "{:.3f}"),
        ("CPU by run time, % of one core", "runtime_percent", "{:.3f}"),
        ("CPU seconds of its X server (Xvfb) meanwhile", "xvfb_cpu_seconds", "{:.2f}"),
        ("CPU seconds including start-up", "whole_cpu_seconds", "{:.2f}"),
        ("wake-ups per second, all threads", "wakeups_per_second", "{:.2f}"),
        ("wake-ups per second, main thread", "main_wakeups_per_second", "{:.2f}"),
        ("of them voluntary (main thread)", "main_voluntary_per_second", "{:.2f}"),
        ("threads", "threads", "{}"),
        ("resident memory at the end, MB (VmRSS)", "rss_mb", "{:.1f}"),
        ("peak resident memory, MB (VmHWM)", "hwm_mb", "{:.1f}"),
        ("VmRSS after the first minute, min MB", "rss_after_first_minute_min_mb", "{:.1f}"),
        ("VmRSS after the first minute, max MB", "rss_after_first_minute_max_mb", "{:.1f}"),
        ("bytes written to disk (write_bytes)", "write_bytes", "{}"),
        ("bytes passed to write calls (wchar, X socket included)", "wchar", "{}"),
        ("write calls (syscw, X socket included)", "write_calls", "{}"),
        ("log lines written", "log_lines", "{}"),
        ("files written", "files_written", "{}"),
        ("file write events (inotify)", "file_events", "{}"),
        ("temporary files (atomic replace)", "temporary_files", "{}"),
        ("seconds in which a file was written", "seconds_with_writes", "{}"),
        ("writes away from a log line", "stray_writes", "{}"),
    ]
    scenarios = result["scenarios"]
    out += [f"## {result['duration']:.0f} seconds side by side", "",
            "| | on battery, status changing once a minute | idle on mains |",
            "| --- | ---: | ---: |"]
    for label, key, fmt in rows:
        cells = []
        for name in ("battery", "mains"):
            value = scenarios[name][key]
            if isinstance(value, list):
                value = len(value)
            cells.append(fmt.format(value))
        out.append(f"| {label.format(settle=result['settle'])} | {cells[0]} | {cells[1]} |")
    for name in ("battery", "mains"):
        s = scenarios[name]
        out += ["", f"Files written ({name}): {', '.join(s['files_written']) or 'none'}."]
        if s["stray_examples"]:
            out.append(f"Writes away from a log line ({name}): {', '.join(s['stray_examples'])}")
    return "\n".join(out) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--binary", required=True, type=Path)
    parser.add_argument("--displays", required=True, nargs=2)
    parser.add_argument("--xvfb-pids", required=True, nargs=2, type=int)
    parser.add_argument("--work", required=True, type=Path)
    parser.add_argument("--duration", type=float, default=600)
    parser.add_argument("--settle", type=float, default=10)
    parser.add_argument("--starts", type=int, default=5)
    parser.add_argument("--out", required=True, type=Path)
    args = parser.parse_args()

    result = {"when": datetime.datetime.now().isoformat(timespec="seconds"),
              "binary": str(args.binary), "duration": args.duration, "settle": args.settle,
              "load_before": read_text("/proc/loadavg").split()[:3]}
    with open(args.work / "program.log", "ab") as log:
        result["startups"] = measure_startups(args.binary, args.displays[0], args.work,
                                              args.starts, log)
        result["scenarios"] = run_scenarios(args.binary, args.displays, args.xvfb_pids,
                                            args.work, args.duration, args.settle, log)
    result["machine"] = machine()
    args.out.mkdir(parents=True, exist_ok=True)
    (args.out / "measure.json").write_text(json.dumps(result, indent=2) + "\n")
    text = report(result)
    (args.out / "measure.md").write_text(text)
    sys.stdout.write(text)


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    main()
