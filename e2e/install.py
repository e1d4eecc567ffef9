"""Installation: the Debian package that CPack builds, unpacked into a private root and run
from there under the suite's X server, as a user who cannot write the program's folder.

The package is not installed into this machine: unpacking it keeps the test free of side
effects, and the program needs nothing of its package but its own files.
"""

import datetime
import os
import pwd
import shutil
import subprocess

import layout
from harness import TIMEOUT, check, click_at, run, visible_windows, wait_for, window_geometry

SCENARIOS = []

APP_ID = "io.github.amperlog.Amperlog"
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def scenario(function):
    SCENARIOS.append(function)
    return function


def desktop_entry(path):
    values = {}
    for line in path.read_text(encoding="utf-8").splitlines():
        name, sep, value = line.partition("=")
        if sep:
            values[name] = value
    return values


def readable_suppressions(options, home):
    """The leak checker's options with its suppressions file copied into home, where another
    user can read it (the checkout may sit in root's home)."""
    parts = []
    for option in options.split(":"):
        name, _, value = option.partition("=")
        if name == "suppressions" and value:
            copy = home / "lsan.supp"
            shutil.copyfile(value, copy)
            copy.chmod(0o644)
            option = f"suppressions={copy}"
        parts.append(option)
    return ":".join(parts)


def run_installed(program, home, out_log, as_user=None, extra_env=None, while_shown=None):
    """Starts the unpacked program with a fresh HOME, optionally as another user; waits for
    its window, calls while_shown() if given, closes the window with its close button and
    returns the exit code."""
    runtime = home / "runtime"
    runtime.mkdir(mode=0o700, exist_ok=True)
    if as_user is not None:
        shutil.chown(runtime, as_user, pwd.getpwnam(as_user).pw_gid)
    env = {
        "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
        "DISPLAY": os.environ["DISPLAY"],
        "HOME": str(home),
        "XDG_RUNTIME_DIR": str(runtime),
        "QT_QPA_PLATFORM": "xcb",
        "ASAN_OPTIONS": os.environ.get("ASAN_OPTIONS", ""),
        "LSAN_OPTIONS": readable_suppressions(os.environ.get("LSAN_OPTIONS", ""), home),
        "LANG": "C.UTF-8",
        **(extra_env or {}),
    }
    command = [str(program)]
    if as_user is not None:
        user = pwd.getpwnam(as_user)
        command = ["setpriv", f"--reuid={user.pw_uid}", f"--regid={user.pw_gid}",
                   "--clear-groups", *command]
    with open(out_log, "ab") as log:
        process = subprocess.Popen(command, cwd=home, env=env, stdout=log, stderr=log)
        try:
            def window():
                check(process.poll() is None, f"the program ended with {process.returncode}")
                windows = visible_windows(process.pid, "Battery Monitor")
                return windows[0] if windows else None
            shown = wait_for("the installed program's window", window)
            if while_shown is not None:
                while_shown()
            x, y, width, height = window_geometry(shown)
            close = layout.centre(layout.main_window(width, height)["picClose"])
            click_at(x + close[0], y + close[1])
            return process.wait(TIMEOUT)
        finally:
            if process.poll() is None:
                process.kill()
                process.wait()


def write_tree(root, supplies):
    """A power supply folder as the kernel shows it: one folder per supply, one file per
    attribute."""
    for name, attributes in supplies.items():
        (root / name).mkdir(parents=True)
        for key, value in attributes.items():
            (root / name / key).write_text(f"{value}\n")


@scenario
def saved_supply_tree(suite):
    """The program itself, not the test build, reads a saved power supply folder named by
    AMPERLOG_SYSFS_ROOT: a discharging battery logs a Batt line with its charge and the
    remaining time that the folder's energy and power imply."""
    built = suite.build / "src" / "app" / "amperlog"
    check(built.exists(), "the amperlog target is not built")
    folder = suite.root / "program"
    folder.mkdir(parents=True)
    program = folder / "amperlog"
    shutil.copy2(built, program)

    # 30 of 50 Wh at 10 W: 60 %, three hours. The draw is averaged over two minutes, but a
    # steady one gives its own value from the first sample on.
    tree = suite.root / "power_supply"
    write_tree(tree, {
        "BAT0": {"type": "Battery", "scope": "System", "present": 1, "status": "Discharging",
                 "energy_now": 30_000_000, "energy_full": 50_000_000, "power_now": 10_000_000,
                 "capacity": 60},
        "AC": {"type": "Mains", "online": 0},
    })

    def batt_line():
        for log in (folder / "Data").glob("*.txt"):
            for line in log.read_bytes().decode("latin-1").splitlines():
                if ",Batt," in line:
                    return line
        return None

    found = {}

    def wait_batt_line():
        found["line"] = wait_for("a Batt line in the daily log", batt_line)

    home = suite.root / "home"
    home.mkdir()
    code = run_installed(program, home, suite.out_dir / "saved_tree.stderr.log",
                         extra_env={"AMPERLOG_SYSFS_ROOT": str(tree)},
                         while_shown=wait_batt_line)
    check(code == 0, f"the program exited with {code}")
    fields = found["line"].split(",")
    check(fields[1:4] == ["Batt", "60%", str(3 * 3600)],
          f"the log line is {found['line']!r}, not 60 % with three hours left")
    today = {datetime.date.today().strftime("%Y%m%d") + ".txt",
             (datetime.date.today() - datetime.timedelta(days=1)).strftime("%Y%m%d") + ".txt"}
    logs = [log.name for log in (folder / "Data").glob("*.txt")]
    check(any(name in today for name in logs), f"the daily logs are {logs}")


@scenario
def debian_package(suite):
    """cpack builds a .deb with the program, manual page, desktop entry, metadata and icons;
    unpacked, `man amperlog` shows the page, and the program runs and keeps its files in the
    per-user folder when it cannot write its own."""
    config = suite.build / "CPackConfig.cmake"
    check(config.exists(), f"{config} is missing: configure the build with the GUI")
    check((suite.build / "src" / "app" / "amperlog").exists(), "the amperlog target is not built")

    packages = suite.root / "package"
    run("cpack", "-G", "DEB", "--config", config, "-B", packages, timeout=300)
    debs = list(packages.glob("*.deb"))
    check(len(debs) == 1, f"expected one .deb, found {[d.name for d in debs]}")
    deb = debs[0]
    shutil.copy2(deb, suite.out_dir / deb.name)

    fields = run("dpkg-deb", "--field", deb, "Package", "Depends").stdout
    for needed in ("libqt6widgets6", "libqt6svg6", "libespeak-ng1", "libc6", "qt6-qpa-plugins"):
        check(needed in fields, f"the package does not depend on {needed}: {fields}")

    listing = run("dpkg-deb", "--contents", deb).stdout
    for unwanted in ("amperlog-e2e", "amperlog-render-picture", "/include/", ".a\n"):
        check(unwanted not in listing, f"the package holds {unwanted.strip()}")

    root = suite.root / "root"
    run("dpkg-deb", "-x", deb, root)
    share = root / "usr" / "share"
    program = root / "usr" / "bin" / "amperlog"
    expected = [
        program,
        share / "man" / "man1" / "amperlog.1.gz",
        share / "applications" / "amperlog.desktop",
        share / "metainfo" / f"{APP_ID}.metainfo.xml",
        share / "icons" / "hicolor" / "scalable" / "apps" / "amperlog.svg",
    ] + [share / "icons" / "hicolor" / f"{s}x{s}" / "apps" / "amperlog.png" for s in ICON_SIZES]
    for path in expected:
        check(path.exists(), f"the package lacks {path.relative_to(root)}")

    # man-db finds the page through MANPATH in the unpacked tree, as it would in /usr/share/man
    # after dpkg -i. Unpacking also sidesteps the path-exclude of /usr/share/man that minimal
    # images set in /etc/dpkg/dpkg.cfg.d, which would drop the page on install.
    page = run("man", "amperlog", env={
        "PATH": os.environ.get("PATH", "/usr/bin:/bin"), "MANPATH": str(share / "man"),
        "MANPAGER": "cat", "MANWIDTH": "100", "LANG": "C.UTF-8", "HOME": str(suite.root)}).stdout
    for needed in ("amperlog - resident battery monitor", "--health", "--version", "Exit status",
                   "AMPERLOG_SYSFS_ROOT", "LANGUAGE", "~/.local/share/amperlog"):
        check(needed in page, f"man amperlog does not show {needed!r}: {page[:600]!r}")

    entry = desktop_entry(share / "applications" / "amperlog.desktop")
    wanted = {"Name": "Amperlog", "Exec": "amperlog", "Icon": "amperlog",
              "Categories": "Utility;System;Monitor;", "Type": "Application"}
    for name, value in wanted.items():
        check(entry.get(name) == value, f"the desktop entry's {name} is {entry.get(name)!r}")
    if shutil.which("desktop-file-validate"):
        run("desktop-file-validate", share / "applications" / "amperlog.desktop")
    run("appstreamcli", "validate", "--no-net", "--no-color",
        share / "metainfo" / f"{APP_ID}.metainfo.xml")
    for size in ICON_SIZES:
        png = share / "icons" / "hicolor" / f"{size}x{size}" / "apps" / "amperlog.png"
        shape = run("identify", "-format", "%wx%h", png).stdout.strip()
        check(shape == f"{size}x{size}", f"the {size} pixel icon is {shape}")

    # Where it cannot write its own folder (an installed copy), its files go to
    # ~/.local/share/amperlog. Root may write anywhere, so as root the run is made as nobody.
    home = suite.root / "home"
    home.mkdir()
    as_user = None
    if os.geteuid() == 0:
        as_user = "nobody"
        shutil.chown(home, "nobody", pwd.getpwnam("nobody").pw_gid)
        for folder in [suite.root, *suite.root.parents]:
            if (folder.stat().st_mode & 0o055) != 0o055:
                folder.chmod(folder.stat().st_mode | 0o055)
    else:
        program.parent.chmod(0o555)
    try:
        code = run_installed(program, home, suite.out_dir / "installed.stderr.log", as_user)
    finally:
        program.parent.chmod(0o755)
    check(code == 0, f"the installed program exited with {code}")
    data = home / ".local" / "share" / "amperlog"
    check((data / "amperlog.ini").exists(), f"no settings in {data}: {sorted(home.rglob('*'))}")
    logs = list((data / "Data").glob("*.txt"))
    check(logs, "no daily log in the per-user folder")
    today = {datetime.date.today().strftime("%Y%m%d") + ".txt",
             (datetime.date.today() - datetime.timedelta(days=1)).strftime("%Y%m%d") + ".txt"}
    check(any(log.name in today for log in logs), f"the daily log is {logs[0].name}")
    check(sorted(p.name for p in program.parent.iterdir()) == ["amperlog"],
          "the program wrote beside itself although it could not")
    check("Main" in (data / "amperlog.ini").read_text(), "the placement was not stored on close")

    # Where it can write its folder (a portable copy), the files stay beside the program.
    portable = suite.root / "portable"
    portable.mkdir()
    shutil.copy2(program, portable / "amperlog")
    if as_user:
        shutil.chown(portable, "nobody", pwd.getpwnam("nobody").pw_gid)
    code = run_installed(portable / "amperlog", home, suite.out_dir / "portable.stderr.log",
                         as_user)
    check(code == 0, f"the portable copy exited with {code}")
    check((portable / "amperlog.ini").exists(), "the portable copy kept no settings beside it")
    check((portable / "Data").is_dir(), "the portable copy has no Data folder beside it")
