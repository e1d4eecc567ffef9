"""The scenarios the Windows build runs under Wine: those of the Linux suite that hold for
Windows as they stand, and those where Windows does things its own way (the notification
icon and its balloons, the installer)."""

from pathlib import Path

import harness
import scenarios
import screenshots
import wine
from harness import check, park_pointer, visible_windows, wait_for

REFERENCE = Path(__file__).resolve().parent.parent / "docs" / "images" / "main-bars-en.png"
# How far the Windows picture's colours may stray from the Linux one's, region by region, on
# a 0-255 scale: the text is drawn by another font engine, the rest is the same painting.
COLOUR_TOLERANCE = 12

SCENARIOS = [
    scenarios.first_start,
    scenarios.second_copy_ends_at_once,
    scenarios.status_change_logs_and_redraws,
    scenarios.day_change,
    scenarios.drag_close_restart,
    scenarios.edit_log_and_save,
]


def scenario(function):
    SCENARIOS.append(function)
    return function


def mean_colour(path, rect):
    """The mean (red, green, blue) of a rectangle of a picture, 0-255."""
    x, y, width, height = (round(v) for v in rect)
    text = harness.run("convert", path, "-crop", f"{width}x{height}+{x}+{y}", "+repage",
                       "-resize", "1x1!", "-depth", "8", "txt:-").stdout
    # "0,0: (r,g,b)  #RRGGBB  srgb(...)"
    values = text.splitlines()[-1].split("(", 1)[1].split(")", 1)[0].split(",")
    return tuple(round(float(v)) for v in values[:3])


@scenario
def window_as_on_linux(suite):
    """The scripted English day: the Windows window has the Linux window's size and, region
    by region, its colours."""
    last = screenshots.stored_sample(suite, scenarios.ON_BATTERY)
    app = screenshots.english_day(suite, last)
    _, _, width, height = app.geometry()
    reference = harness.read_pixels(REFERENCE)
    check((width, height) == (len(reference[0]), len(reference)),
          f"the window is {width}x{height}, the Linux one in {REFERENCE.name} is not")
    shot = harness.window_screenshot(suite.out_dir / "windows-main-bars-en.png", app.window)
    regions = {name: rect for name, rect in scenarios.layout.main_window(width, height).items()
               if name in ("picTitle", "picMonitor", "picPercentRate", "picStatus")}
    regions["panel"] = (0, 30, 180, height - 60)
    for name, rect in regions.items():
        ours, theirs = mean_colour(shot, rect), mean_colour(REFERENCE, rect)
        check(max(abs(a - b) for a, b in zip(ours, theirs)) <= COLOUR_TOLERANCE,
              f"{name}: mean colour {ours} on Windows, {theirs} on Linux")


def docked_panels():
    """The tray host's windows big enough to hold an icon."""
    return [rect for rect in harness.tray_hosts() if rect[2] >= 16 and rect[3] >= 16]


def tray_icon():
    """The centre of the notification icon, which Wine docks into the tray host's panel."""
    (x, y, width, height), *_ = wait_for("the notification icon in the tray host",
                                         docked_panels)
    return (x + width // 2, y + height // 2)


@scenario
def stay_in_notification_area(suite):
    """imgStay hides the window behind a notification icon, docked in the tray host; the
    monitor goes on logging; a second start brings the window back."""
    app = scenarios.start(suite, "tray", settings={"Work": {"Voice": 1}})
    scenarios.wait_ready(app)
    scenarios.click_control(app, "imgStay")
    wait_for("the main window to hide", lambda: not visible_windows(app.pid, app.MAIN_TITLE))
    wait_for('"Stay" = 1', lambda: app.setting("Stay") == "1")
    icon = tray_icon()

    lines = app.log_lines()
    app.set_power(scenarios.ON_BATTERY)
    wait_for("the change logged from the notification area",
             lambda: app.log_lines()[len(lines):], timeout=30)

    # Under Wine 8 a right click on the icon docked in trayer opens no menu (the same build's
    # menu is checked on Linux); the window comes back by a second start.
    app.shot("tray", (icon[0] - 60, 0, 120, 40))
    code, _ = app.run_second_copy()
    check(code == 0, f"the second copy exited with {code}")
    app.wait_main_window()
    wait_for('"Stay" = 0 after the second start', lambda: app.setting("Stay") == "0")
    wait_for("the icon to go", lambda: not docked_panels())
    park_pointer()


@scenario
def alert_as_balloon(suite):
    """A low charge is spoken and shown as a balloon of a notification icon."""
    app = scenarios.start(suite, "alert", power=scenarios.on_battery(25),
                          settings={"Work": {"Voice": 1, "SEP": 120}})
    scenarios.wait_ticks(app, 1)
    before = set(visible_windows_of_class("explorer.exe"))
    app.set_power(scenarios.on_battery(19))
    wait_for("the low alert spoken", app.spoken)
    balloon = wait_for("the balloon",
                       lambda: set(visible_windows_of_class("explorer.exe")) - before)
    app.shot("balloon")
    check(len(balloon) == 1, f"more than one balloon: {balloon}")


def visible_windows_of_class(name):
    result = harness.run("xdotool", "search", "--onlyvisible", "--class", name,
                         check_status=False)
    return [int(line) for line in result.stdout.split()]


@scenario
def installed_program(suite):
    """The silent installer puts Amperlog.exe under %LOCALAPPDATA%\\Programs\\Amperlog; it starts
    with its window at the design size and keeps its settings and the day's log beside it;
    the silent uninstaller removes the program and leaves them."""
    setups = sorted((suite.build / "package").glob("Amperlog-*-setup.exe"))
    check(setups, f"no installer in {suite.build / 'package'}: run scripts/package-windows.sh")
    env = suite.wine_env
    wine.wine(env, setups[-1], "/S")
    installed = wine.local_app_data(env) + "\\Programs\\Amperlog"
    folder = wine.linux_path(env, installed)
    exe = folder / "Amperlog.exe"
    check(exe.exists(), f"the installer left no {exe}")

    app = wine.WineApp(exe, folder, suite.out_dir, env, lang=harness.App.ENGLISH)
    suite.apps.append(app)
    app.start()
    app.wait_main_window()
    _, _, width, height = app.geometry()
    check((width, height) == scenarios.layout.design_size(),
          f"the installed program's window is {width}x{height}")
    app.shot("window")
    log = wait_for("the day's log with its start line",
                   lambda: [line for line in app.log_lines() if line.endswith(",Monitor")])
    check(len(log) == 1, f"the start lines: {log}")
    wait_for("Amperlog.ini", lambda: (folder / "Amperlog.ini").exists())
    check(app.close() == 0, "the installed program did not end cleanly")

    # The uninstaller copies itself elsewhere and returns at once unless told where it is.
    wine.wine(env, folder / "Uninstall.exe", "/S", f"_?={installed}")
    check(not exe.exists(), "the uninstaller left Amperlog.exe")
    check((folder / "Amperlog.ini").exists() and app.log_path().exists(),
          "the uninstaller removed the settings or the log")
