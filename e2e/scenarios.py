"""The end-to-end scenarios: the test build run as a user would run it, in a real X server.

Each scenario gets a Suite (suite.py) that makes program folders and keeps screenshots, and
raises harness.Failure when an expectation does not hold.
"""

import datetime
import re
import shutil
import signal
import zoneinfo
from pathlib import Path

import harness
import layout
from harness import (
    Failure,
    check,
    click_at,
    display_without_tray,
    drag,
    has_japanese,
    key,
    log_line_time,
    mouse_move,
    notification_server,
    park_pointer,
    pixels_differing,
    read_pixels,
    rect_contains,
    type_text,
    visible_windows,
    wait_for,
    xdotool,
)

# A saved power supply folder: an energy battery, a charge battery, a mouse.
SUPPLY_TREE = Path(__file__).resolve().parent.parent / "tests" / "data" / "sysfs-health"
# A crafted week of logs and diaries in Berlin's time, its clock going back on one of the days,
# and the moment its report is made.
REPORT_WEEK = Path(__file__).resolve().parent.parent / "tests" / "data" / "report-week"
REPORT_ZONE = "Europe/Berlin"
REPORT_MADE = datetime.datetime(2026, 10, 26, 22, 0, 0)
RENDER_REPORT = Path(__file__).resolve().parent.parent / "scripts" / "render-report.sh"

SCENARIOS = []


def scenario(function):
    SCENARIOS.append(function)
    return function


# Power lines of the scripted source: ac flag percent lifetime full-lifetime.
ON_MAINS = "1 9 85 -1 -1"  # adapter in, charging, 85 %
ON_BATTERY = "0 1 60 5400 10800"  # unplugged, 60 %, 1 h 30 min left

LINE = re.compile(r"^(\d{1,2})/(\d\d) (\d\d):(\d\d):(\d\d),([^,]*),([^,]*),([^,]*),(.*)$")


# ---- helpers shared by the scenarios ----


def start(suite, name, power=ON_MAINS, settings=None, clock=datetime.time(12, 0, 0), day=None,
          sample_day=False, lang=harness.App.JAPANESE, env=None):
    """A program folder with the test build, started at clock on day (today when None) on a
    desktop in lang, with env added to its environment; returns the App with its window up."""
    app = suite.new_app(name, clock=clock, day=day, lang=lang)
    app.set_power(power)
    if settings:
        app.write_settings(settings)
    app.sample_rows = write_sample_day(app) if sample_day else []
    park_pointer()
    app.start(env)
    app.wait_main_window()
    return app


def wait_ready(app):
    """Waits until start-up has finished and the first graph refresh has run."""
    wait_for('the first graph refresh ("Starting" stored)', lambda: app.setting("Starting"))


def wait_first_tick_line(app):
    """Waits for the line of the first tick after the sample morning: the settings hold no
    previous sample, so the first tick sees a change."""
    check(app.sample_rows, "the scenario has no sample morning")
    return wait_for("the change line of the first tick",
                    lambda: app.log_lines()[len(app.sample_rows):])


def elapsed_counter(app):
    """The seconds that lblCount shows (m:ss)."""
    widget = app.widget("lblCount")
    match = re.fullmatch(r"(\d+):(\d\d)", widget.text if widget else "")
    return int(match.group(1)) * 60 + int(match.group(2)) if match else None


def wait_ticks(app, seconds):
    """Waits until the monitor tick has counted at least seconds more than now."""
    # A tuple is true even when the counter shows 0:00.
    (last,) = wait_for("the elapsed counter in lblCount",
                       lambda: (elapsed_counter(app),) if elapsed_counter(app) is not None
                       else None)
    counted = 0

    def enough():
        # A line written meanwhile restarts the counter: what it shows then is counted anew.
        nonlocal last, counted
        now = elapsed_counter(app)
        if now is not None:
            counted += now - last if now >= last else now
            last = now
        return counted >= seconds

    wait_for(f"{seconds} more monitor ticks", enough)


def control(app, name):
    """A control's place in the window worked out from the design; checked against the
    widget the program really put there."""
    _, _, width, height = app.geometry()
    rect = layout.main_window(width, height)[name]
    point = layout.centre(rect)
    widget = app.widget(name)
    check(widget is not None, f"{name} is not shown")
    on_screen = app.at(point)
    check(widget.contains(on_screen),
          f"{name} is at {widget.rect}, not around {on_screen} where its design puts it")
    return point


def click_control(app, name, button=1):
    app.click(control(app, name), button=button)


def region(app, name):
    """A shown widget's rectangle on the screen."""
    widget = app.widget(name)
    check(widget is not None, f"{name} is not shown")
    return widget.rect


def tray_icon(app):
    """The notification icon once the tray host holds it. Until the host has embedded it the
    icon reports the place it was created at, and a click there reaches nothing."""
    def docked():
        icon = app.widget("QSystemTrayIconSys")
        if icon is None or icon.width <= 0:
            return None
        inside = any(rect_contains(host, icon.centre) for host in harness.tray_hosts())
        return icon if inside else None
    return wait_for("the notification icon in the tray host", docked)


def lines_with_marker(app, marker, day=None):
    return [line for line in app.log_lines(day) if line.split(",")[-1] == marker]


def sample_rows(day, until, end_percent=60):
    """A plausible day up to until: charging on mains from 07:30 to 08:30, then on battery,
    running down to end_percent, a line every 4 minutes."""
    rows = []
    start = datetime.datetime.combine(day, datetime.time(7, 30, 4))
    unplugged = datetime.datetime.combine(day, datetime.time(8, 30, 4))
    end = datetime.datetime.combine(day, until)
    t = start
    while t < end:
        if t < unplugged:
            percent = 72 + (t - start).seconds / 60 * 0.47
            power, remain = "Power", "Charge"
        else:
            share = (t - unplugged) / max(end - unplugged, datetime.timedelta(minutes=1))
            percent = 100 - (100 - end_percent) * share
            power, remain = "Batt", str(int(percent * 90))
        minute = (t - start).seconds // 60
        marker = "Monitor" if not rows else ("" if minute % 16 == 0 else "+")
        rows.append((t, power, int(round(percent)), remain, marker))
        t += datetime.timedelta(minutes=4)
    return rows


def write_sample_day(app):
    day = app.now().date()
    rows = sample_rows(day, app.now().time())
    (app.folder / "Data").mkdir(exist_ok=True)
    text = "".join(f"{log_line_time(t)},{power},{percent}%,{remain},{marker}\r\n"
                   for t, power, percent, remain, marker in rows)
    app.log_path(day).write_bytes(text.encode("ascii"))
    return rows


def same_picture(first, second):
    return pixels_differing(first, second) == 0


def drag_moves_window(app, point, by):
    """Drags from a point of the window by (dx, dy) and waits until the window has moved so
    far, give or take the first pixel (see harness.drag) and one more."""
    x0, y0, _, _ = app.geometry()
    start_point = app.at(point)
    # The widget list is a round trip through the program's event loop: once it is back, the
    # program has seen the first motion and asked the window manager to move the window.
    drag(start_point, (start_point[0] + by[0], start_point[1] + by[1]), settled=app.widgets)
    expected = (x0 + by[0], y0 + by[1])

    def followed():
        place = app.geometry()[:2]
        return place if max(abs(place[0] - expected[0]), abs(place[1] - expected[1])) <= 2 else None

    try:
        return wait_for("the window to follow the pointer", followed, timeout=5)
    except Failure:
        raise Failure(f"a drag from {point} by {by} moved the window from {x0},{y0} to "
                      f"{app.geometry()[:2]}, not with the pointer to {expected}") from None


def shown_widgets_at(app, point):
    """The names of the shown widgets under a point of the window, the window aside."""
    on_screen = app.at(point)
    return [w.name for w in app.widgets()
            if w.visible and w.name != "frmMain" and w.contains(on_screen)]


# ---- the scenarios ----


@scenario
def first_start(suite):
    """First start in an empty program folder: data folder, the day's first line, settings."""
    app = start(suite, "first-start")
    x, y, width, height = app.geometry()
    check((width, height) == layout.design_size(),
          f"the window is {width}x{height}, not its design size {layout.design_size()}")
    check((x, y) == ((1280 - width) // 2, (800 - height) // 2),
          f"a first start without a placement centres the window, it is at {x},{y}")
    check((app.folder / "Data").is_dir(), "the folder Data was not created")

    lines = wait_for("the start-up line", app.log_lines)
    check(len(lines) == 1, f"expected one line, the log holds {lines}")
    match = LINE.match(lines[0])
    check(match is not None,
          f"the line {lines[0]!r} is not M/dd HH:mm:ss,power,charge,remain,marker")
    check(match.group(6, 7, 9) == ("Power", "85%", "Monitor"),
          f"the start-up line {lines[0]!r} is not a Monitor line on mains at 85%")
    check(match.group(3, 4) == ("12", "00"), f"the line's time is not the program's: {lines[0]!r}")

    work = app.settings()
    check(work.get("expand") == "1", f'"Expand" is {work.get("expand")!r}, not 1')
    for name in ("BattPercent", "RemainTime", "ACStatus", "BattStatus", "LifeTime", "Logtime"):
        check(name.lower() in work, f'the settings file lacks "{name}": {sorted(work)}')
    check(work["battpercent"] == "85%", f'"BattPercent" is {work["battpercent"]!r}')

    # Nothing changes on the next ticks: no further line.
    wait_ticks(app, 3)
    check(len(app.log_lines()) == 1, f"lines without a change: {app.log_lines()}")
    app.shot("window")


@scenario
def second_copy_ends_at_once(suite):
    """A second copy in the same folder ends at once and leaves the first one alone."""
    app = start(suite, "second-copy")
    wait_ready(app)
    before = app.log_lines()
    code, seconds = app.run_second_copy()
    check(code == 0, f"the second copy exited with {code}")
    check(seconds < 8, f"the second copy took {seconds:.1f} s to end")
    check(app.running(), "the first copy ended")
    check(app.log_lines() == before, "the second copy touched the log")
    check(len(visible_windows(app.pid)) == 1, "the first copy's window is gone")
    # The first copy still monitors.
    app.set_power(ON_BATTERY)
    wait_for("the first copy to log the change", lambda: len(app.log_lines()) == len(before) + 1)


@scenario
def status_change_logs_and_redraws(suite):
    """Unplugging the adapter writes a line with an empty marker and redraws the graphs."""
    # The timeline shows every sample at once; the bar graph only draws a slot once it is over.
    app = start(suite, "status-change", settings={"Work": {"GraphMode": 1}}, sample_day=True)
    wait_ready(app)
    wait_first_tick_line(app)
    lines = app.log_lines()
    graph = region(app, "picMonitor")
    first = app.shot("graph-before", graph)
    wait_ticks(app, 2)
    second = app.shot("graph-steady", graph)
    check(same_picture(first, second), "the main graph changed without a new line")

    app.set_power(ON_BATTERY)
    new = wait_for("the change line", lambda: app.log_lines()[len(lines):])
    check(len(new) == 1, f"one change, lines {new}")
    check(new[0].endswith(",Batt,60%,5400,"), f"the change line is {new[0]!r}")
    wait_for("the graph to be redrawn",
             lambda: not same_picture(second, app.shot("graph-after", graph)))
    app.wait_widget("the panel to show 60", lambda w: w.text.startswith("60"), "lblBattPercent")
    app.shot("window")


@scenario
def interval_line_and_announcement(suite):
    """With the interval at 2 minutes and speech on, 2 minutes later a "+" line is written
    and 2分経過しました announced."""
    app = start(suite, "interval", settings={"Work": {"SEP": 2, "Voice": 1}})
    wait_for("the start-up line", lambda: lines_with_marker(app, "Monitor"))
    wait_ticks(app, 1)
    check(not lines_with_marker(app, "+"), "an interval line before the interval passed")
    app.advance_clock(150)
    plus = wait_for("the interval line", lambda: lines_with_marker(app, "+"))
    check(LINE.match(plus[0]).group(6, 7) == ("Power", "85%"), f"the line is {plus[0]!r}")
    wait_for("the announcement", lambda: "2分経過しました" in app.spoken())
    app.wait_widget("lblSEP to show 2", lambda w: w.text == "2", "lblSEP")


@scenario
def day_change(suite):
    """At midnight the first tick writes "day changed" into the new day's file."""
    app = start(suite, "day-change", clock=datetime.time(23, 59, 40))
    today = app.now().date()
    wait_for("the start-up line", lambda: lines_with_marker(app, "Monitor", today))
    app.advance_clock(30)
    tomorrow = today + datetime.timedelta(days=1)
    changed = wait_for("the day changed line", lambda: app.log_lines(tomorrow))
    check(changed[0].endswith(",day changed"), f"the new day's first line is {changed[0]!r}")
    check(changed[0].startswith(f"{tomorrow.month}/{tomorrow:%d} 00:00:"),
          f"the line {changed[0]!r} is not stamped just after midnight")
    name = tomorrow.strftime("%Y%m%d") + ".txt"
    app.wait_widget(f"lblTargetName to show {name}", lambda w: w.text == name, "lblTargetName")


@scenario
def graph_mode_click(suite):
    """A click on imgGraph switches bar graph and timeline and stores "GraphMode"."""
    app = start(suite, "graph-mode", sample_day=True)
    wait_ready(app)
    wait_first_tick_line(app)
    graph = region(app, "picMonitor")
    bars = app.shot("bars", graph)
    check(app.setting("GraphMode") in (None, "0"), "the first start shows the bar graph")

    # The pointer leaves the button after each click: its tooltip would cover the graph.
    click_control(app, "imgGraph")
    park_pointer()
    wait_for('"GraphMode" = 1', lambda: app.setting("GraphMode") == "1")
    wait_for("the timeline graph", lambda: not same_picture(bars, app.shot("timeline", graph)))

    click_control(app, "imgGraph")
    park_pointer()
    wait_for('"GraphMode" = 0', lambda: app.setting("GraphMode") == "0")
    wait_for("the bar graph again", lambda: same_picture(bars, app.shot("bars-again", graph)))


@scenario
def hover_readout(suite):
    """Pointing at the timeline shows in lblSys the time under the pointer and the charge
    logged in that minute."""
    app = start(suite, "hover", settings={"Work": {"GraphMode": 1, "Expand": 1}},
                sample_day=True)
    rows = app.sample_rows
    wait_ready(app)
    status = region(app, "lblSys")
    before = app.shot("status-before", status)
    check(app.widget("lblSys").text == "", "lblSys shows a read-out before any pointing")

    graph = app.widget("picMonitor")
    # The axis begins at the hour of the first line; a minute with a line, then the one after.
    first_hour = rows[0][0].replace(minute=0, second=0)
    logged = rows[1][0]
    y = graph.y + graph.height * 2 // 3  # below the graph's top band, a drag zone
    for when, charge in ((logged, rows[1][2]), (logged + datetime.timedelta(minutes=1), "")):
        minutes = (when.replace(second=0) - first_hour) // datetime.timedelta(minutes=1)
        x = graph.x + layout.graph_x(minutes)
        mouse_move(x - 1, y)
        mouse_move(x, y)
        expected = f"{when:%H:%M}   {charge}"
        try:
            app.wait_widget(f"the read-out {expected!r} in lblSys",
                            lambda w: w.text == expected, "lblSys")
        except Failure:
            raise Failure(f"pointing at {when:%H:%M} shows {app.widget('lblSys').text!r}, "
                          f"not {expected!r}") from None
    wait_for("lblSys to be repainted",
             lambda: not same_picture(before, app.shot("status-after", status)))


@scenario
def drag_close_restart(suite):
    """Dragging the title strip moves the window; picClose ends the program, which stores
    the placement "Main"; the next start puts the window back there."""
    app = start(suite, "placement")
    wait_ready(app)
    _, _, width, height = app.geometry()
    title = control(app, "picTitle")
    moved = drag_moves_window(app, (title[0] + 80, title[1]), (-150, 120))
    app.shot("moved")

    click_control(app, "picClose")
    code = app.wait_exit()
    check(code == 0, f"the program exited with {code} after picClose")
    main = app.setting("Main", section="Windows")
    check(main is not None, "the placement Main was not stored")
    stored = [float(v) for v in main.split(",")]
    check([round(v / 15) for v in stored] == [moved[0], moved[1], width, height],
          f'"Main" = {main} does not match the window at {moved} ({width}x{height})')

    app.start()
    app.wait_main_window()
    check(app.geometry() == (moved[0], moved[1], width, height),
          f"the window came back at {app.geometry()}, not at {moved}")
    app.shot("restarted")


@scenario
def settings_in_editor(suite):
    """F2 opens the settings file in the data edit window; Escape closes it."""
    app = start(suite, "f2-settings")
    wait_ready(app)
    app.activate()
    key("F2")
    editor = app.wait_widget("the data edit window", lambda w: True, "frmEditor")
    check(editor.text == str(app.settings_path),
          f"the edit window's caption is {editor.text!r}, not the settings path")
    text = app.wait_widget("the settings in the text box", lambda w: "[Work]" in w.text,
                           "txtEdit").text
    check("Logtime=" in text or "LogTime=" in text, "the text box does not hold the settings")
    app.shot("editor")
    key("Escape")
    app.wait_gone("the edit window to close", "frmEditor")
    check(app.running(), "Escape in the edit window ended the program")
    wait_for('the placement "Editor" stored', lambda: app.setting("Editor", section="Windows"))


@scenario
def edit_log_and_save(suite):
    """imgPen opens the graphed log; a line typed there and saved with lblSave is kept, and so
    is the line the monitor appended while the window was open."""
    app = start(suite, "edit-log", sample_day=True)
    wait_ready(app)
    wait_first_tick_line(app)
    original = app.log_lines()

    click_control(app, "imgPen")
    app.wait_widget("the log in the edit window", lambda w: original[0] in w.text, "txtEdit")
    app.wait_widget("the focus in the text box", lambda w: w.focus, "txtEdit")
    key("ctrl+End")
    type_text("e2e memo")
    app.wait_widget("the typed text", lambda w: "e2e memo" in w.text, "txtEdit")

    app.set_power(ON_BATTERY)
    appended = wait_for("the line appended while editing", lambda: app.log_lines()[len(original):])
    app.shot("editing")
    app.click_widget_centre("lblSave")
    app.wait_gone("the edit window to close", "frmEditor")

    saved = app.log_lines()
    check("e2e memo" in saved, f"the typed line was not saved: {saved[-3:]}")
    check(appended[0] in saved, "the line appended while editing was lost by the save")
    for line in original:
        check(saved.count(line) == 1, f"the line {line!r} is not in the saved file once")
    check(app.running(), "saving ended the program")


@scenario
def stay_in_tray_and_exit(suite):
    """imgStay hides the window in the notification area; "Exit" on the icon's menu brings
    it back."""
    app = start(suite, "tray", settings={"Work": {"Voice": 1}})
    wait_ready(app)
    click_control(app, "imgStay")
    wait_for("the main window to hide", lambda: not visible_windows(app.pid, app.MAIN_TITLE))
    wait_for('"Stay" = 1', lambda: app.setting("Stay") == "1")
    wait_for("the announcement", lambda: "常駐しました" in app.spoken())
    icon = tray_icon(app)
    app.shot("tray", (icon.x - 40, icon.y, icon.width + 80, icon.height))

    # Monitoring goes on in the notification area, at a tick every 10 seconds.
    lines = app.log_lines()
    app.set_power(ON_BATTERY)
    wait_for("the change logged from the notification area",
             lambda: app.log_lines()[len(lines):], timeout=30)

    click_at(*icon.centre, button=3)
    menu = app.wait_widget("the icon's menu", lambda w: "Exit" in w.text.split("|"), "mnuPopup")
    app.shot("menu", (menu.x - 40, menu.y - 40, menu.width + 80, menu.height + 80))
    app.click_widget_centre("mnuPopupExit")
    app.wait_main_window()
    wait_for('"Stay" = 0', lambda: app.setting("Stay") == "0")
    wait_for("the icon to go", lambda: app.widget("QSystemTrayIconSys") is None)
    check(app.running(), '"Exit" ended the program')


@scenario
def start_at_login(suite):
    """"Start at login" on the icon's menu writes the autostart entry that runs this copy, from
    a folder whose name needs quoting, and removes it again; the check mark shows what the
    autostart folder holds each time the menu opens, a change made by hand included."""
    app = suite.new_app("login ログイン")
    config = app.folder / "config"
    entry = config / "autostart" / "amperlog.desktop"
    app.set_power(ON_MAINS)
    park_pointer()
    app.start(extra_env={"XDG_CONFIG_HOME": str(config)})
    app.wait_main_window()
    wait_ready(app)
    click_control(app, "imgStay")
    wait_for("the main window to hide", lambda: not visible_windows(app.pid, app.MAIN_TITLE))
    icon = tray_icon(app)

    def open_menu(checked):
        click_at(*icon.centre, button=3)
        return app.wait_widget(f"the item {'with' if checked else 'without'} a check mark",
                               lambda w: w.checked is checked, "mnuPopupLogin", "QAction")

    def choose(item):
        click_at(*item.centre)
        app.wait_gone("the menu to close", "mnuPopup")

    choose(open_menu(False))
    wait_for("the autostart entry", entry.exists)
    check(f'\nExec="{app.exe}"\n' in entry.read_text(encoding="utf-8"),
          f"the entry does not run this copy:\n{entry.read_text(encoding='utf-8')}")
    harness.run("desktop-file-validate", str(entry))
    open_menu(True)
    menu = app.widget("mnuPopup")
    app.shot("menu", (menu.x - 40, menu.y - 40, menu.width + 80, menu.height + 80))
    key("Escape")
    app.wait_gone("the menu to close", "mnuPopup")

    entry.unlink()
    choose(open_menu(False))
    wait_for("the entry written again", entry.exists)
    choose(open_menu(True))
    wait_for("the entry removed", lambda: not entry.exists())
    open_menu(False)
    key("Escape")


@scenario
def killed_copy_restarts(suite):
    """After kill -9 the next start runs: the stale lock does not block it."""
    app = start(suite, "kill9")
    wait_ready(app)
    before = app.log_lines()
    app.kill()
    check((app.folder / "amperlog-e2e.lock").exists(), "the killed copy left no lock behind")
    app.start()
    app.wait_main_window()
    wait_ticks(app, 2)
    written = app.log_lines()[len(before):]
    check(app.log_lines() == before,
          f"a restart on the same day without a change wrote lines: {written}")
    check(len(lines_with_marker(app, "Monitor")) == 1, "a second Monitor line on the same day")


@scenario
def second_start_shows_the_first(suite):
    """A second start ends at once and brings the first copy's window forward: back from the
    notification area as "Exit" brings it, and out of the minimised state."""
    app = start(suite, "second-start-shows")
    wait_ready(app)
    click_control(app, "imgStay")
    wait_for("the main window to hide", lambda: not visible_windows(app.pid, app.MAIN_TITLE))
    wait_for('"Stay" = 1', lambda: app.setting("Stay") == "1")
    tray_icon(app)

    code, seconds = app.run_second_copy()
    check(code == 0, f"the second copy exited with {code}")
    check(seconds < 8, f"the second copy took {seconds:.1f} s to end")
    app.wait_main_window()
    wait_for('"Stay" = 0', lambda: app.setting("Stay") == "0")
    wait_for("the icon to go", lambda: app.widget("QSystemTrayIconSys") is None)

    xdotool("windowminimize", "--sync", app.window)
    wait_for("the window to be minimised", lambda: not visible_windows(app.pid, app.MAIN_TITLE))
    code, _ = app.run_second_copy()
    check(code == 0, f"the second copy exited with {code}")
    app.wait_main_window()
    wait_for("the first copy's window to be active",
             lambda: int(xdotool("getactivewindow").strip()) == app.window)
    check(app.running(), "the first copy ended")
    check(len(lines_with_marker(app, "Monitor")) == 1, "the second copy wrote a line")


@scenario
def termination_signals_shut_down(suite):
    """SIGTERM ends the program as picClose does: exit status 0, placement "Main" stored, lock
    released; SIGINT does the same while the window sits in the notification area."""
    app = start(suite, "signals")
    wait_ready(app)
    lock = app.folder / "amperlog-e2e.lock"
    for sig, place, to_tray in ((signal.SIGTERM, (200, 150), False),
                                (signal.SIGINT, (420, 260), True)):
        xdotool("windowmove", "--sync", app.window, *place)
        x, y, width, height = wait_for(f"the window at {place}",
                                       lambda: app.geometry()[:2] == place and app.geometry())
        check(lock.exists(), "the running copy holds no lock file")
        if to_tray:
            click_control(app, "imgStay")
            wait_for("the main window to hide",
                     lambda: not visible_windows(app.pid, app.MAIN_TITLE))
            tray_icon(app)
        app.process.send_signal(sig)
        code = app.wait_exit()
        check(code == 0, f"the program exited with {code} on {sig.name}")
        check(not lock.exists(), f"the lock file was left behind on {sig.name}")
        main = app.setting("Main", section="Windows")
        check(main is not None and [round(float(v) / 15) for v in main.split(",")]
              == [x, y, width, height],
              f'"Main" = {main} after {sig.name}, the window was at {x},{y} ({width}x{height})')
        if not to_tray:
            app.start()
            app.wait_main_window()
            wait_ticks(app, 1)


@scenario
def stay_without_notification_area(suite):
    """On a desktop without a notification area imgStay leaves the window shown and stores no
    "Stay" = 1."""
    with display_without_tray():
        app = start(suite, "no-tray", settings={"Work": {"Voice": 1}})
        try:
            wait_ready(app)
            _, _, width, height = app.geometry()
            scale = layout.centre(layout.main_window(width, height)["imgScale"])
            click_control(app, "imgStay")
            # A second click that shows: once it has been handled, so has the first.
            app.click(scale)
            park_pointer()
            wait_for('the click on imgScale ("Expand" = 0.5) or the window to go',
                     lambda: app.setting("Expand") == "0.5"
                     or not visible_windows(app.pid, app.MAIN_TITLE))
            check(visible_windows(app.pid, app.MAIN_TITLE),
                  "the window went away with no notification icon to bring it back")
            check(app.setting("Stay") != "1", '"Stay" = 1 stored without a notification area')
            check("常駐しました" not in app.spoken(), "announced a stay that did not happen")
            check(app.widget("QSystemTrayIconSys") is None, "a notification icon without a host")
            app.shot("window")
            code = app.close()
            check(code == 0, f"the program exited with {code} after picClose")
        finally:
            # Ended while its X server still runs.
            app.stop()


@scenario
def background_drags_move_the_window(suite):
    """Drag after drag from the window's background (the gap between the graphs) moves the
    window each time."""
    app = start(suite, "background-drag")
    wait_ready(app)
    _, _, width, height = app.geometry()
    places = layout.main_window(width, height)
    monitor, rate = places["picMonitor"], places["picPercentRate"]
    gap = (int(monitor[0] + monitor[2] / 2), int((monitor[1] + monitor[3] + rate[1]) / 2))
    under = shown_widgets_at(app, gap)
    check(not under, f"the gap between the graphs at {gap} is covered by {under}")
    for by in ((-150, 100), (120, -80), (60, 50)):
        drag_moves_window(app, gap, by)
    app.shot("moved")


@scenario
def resize_redraws_at_the_new_size(suite):
    """When the window manager resizes the window, the main graph is drawn at once at the new
    size, as a later redraw draws it."""
    app = start(suite, "resize", sample_day=True)
    wait_ready(app)
    # No line follows it: from here on only what is asked redraws the main graph.
    wait_first_tick_line(app)
    _, _, width, height = app.geometry()
    size = (width + 160, height + 120)
    expected = tuple(round(v) for v in layout.main_window(*size)["picMonitor"][2:])
    xdotool("windowsize", "--sync", app.window, *size)
    app.wait_widget(f"picMonitor at {expected}", lambda w: (w.width, w.height) == expected,
                    "picMonitor")
    park_pointer()
    graph = region(app, "picMonitor")
    resized = app.shot("graph-resized", graph)

    # Timeline and back to the bar graph: drawn again at the size the graph now has.
    click_control(app, "imgGraph")
    wait_for('"GraphMode" = 1', lambda: app.setting("GraphMode") == "1")
    click_control(app, "imgGraph")
    park_pointer()
    wait_for('"GraphMode" = 0', lambda: app.setting("GraphMode") == "0")
    try:
        wait_for("the redrawn graph to match",
                 lambda: same_picture(resized, app.shot("graph-redrawn", graph)), timeout=5)
    except Failure:
        raise Failure("the graph drawn on the resize differs from the same graph drawn again "
                      "at the new size") from None


@scenario
def pointer_under_lblsys(suite):
    """Where lblSys lies over the rate graph and the status strip, the pointer reaches them:
    hovering shows the rate read-out, a drag moves the window."""
    app = start(suite, "under-lblsys", sample_day=True)
    wait_ready(app)
    label, rate, status = (app.widget(n) for n in ("lblSys", "picPercentRate", "picStatus"))
    x = label.x + label.width // 2
    over_rate = (label.y + rate.y + rate.height) // 2
    check(label.contains((x, over_rate)) and rate.contains((x, over_rate)),
          f"lblSys {label.rect} does not lie over the rate graph {rate.rect}")
    check(app.widget("lblSys").text == "", "lblSys shows a read-out before any pointing")
    mouse_move(x - 1, over_rate)
    mouse_move(x, over_rate)
    readout = app.wait_widget("the rate read-out in lblSys", lambda w: w.text != "", "lblSys")
    check(re.match(r"\d\d:\d\d   ", readout.text),
          f"the read-out {readout.text!r} is not 'HH:mm   [rate]'")

    over_status = (status.y + label.y + label.height) // 2
    check(label.contains((x, over_status)) and status.contains((x, over_status)),
          f"lblSys {label.rect} does not lie over the status strip {status.rect}")
    wx, wy, _, _ = app.geometry()
    drag_moves_window(app, (x - wx, over_status - wy), (-120, -90))


@scenario
def english_desktop(suite):
    """On an English desktop no Japanese shows in the main window, its tooltips and menus, the
    edit window or its question, and the interval is announced in English; without a remaining
    time the read-out says "Charging" only while the battery charges."""
    app = start(suite, "english", power=ON_BATTERY, settings={"Work": {"SEP": 1, "Voice": 1}},
                sample_day=True, lang=harness.App.ENGLISH)
    wait_ready(app)
    wait_first_tick_line(app)

    def japanese_shown():
        return [(w.name or w.cls, w.text, w.tooltip) for w in app.widgets()
                if has_japanese(w.text + w.tooltip)]

    app.wait_widget("the rate in English", lambda w: w.text.startswith("Rate  "), "lblRate")
    check(app.widget("lblRemain").text == "Left  1+30",
          f'lblRemain reads {app.widget("lblRemain").text!r}')
    check(app.widget("imgStay").tooltip != "", "imgStay has no tooltip")
    check(not japanese_shown(), f"Japanese in the main window: {japanese_shown()}")
    app.shot("window")

    app.advance_clock(90)
    wait_for("the interval line", lambda: lines_with_marker(app, "+"))
    wait_for("the announcement in English", lambda: "One minute has passed" in app.spoken())
    check(not any(has_japanese(text) for text in app.spoken()), f"spoken: {app.spoken()}")

    click_control(app, "imgPen")
    app.wait_widget("the focus in the text box", lambda w: w.focus, "txtEdit")
    key("ctrl+End")
    type_text("x")
    app.wait_widget("the typed text", lambda w: w.text.endswith("x"), "txtEdit")
    key("Escape")
    app.wait_widget("the question", lambda w: w.text == "Save your changes?", "qt_msgbox_label")
    check(not japanese_shown(), f"Japanese in the edit window or its question: {japanese_shown()}")
    app.shot("question")
    # A window's widgets are listed under each window it sits in: the same button comes
    # more than once.
    no = {w for w in app.widgets() if w.visible and w.cls == "QPushButton" and w.text == "&No"}
    check(len(no) == 1, f"the question has not one No button: {no}")
    no = list(no)
    click_at(*no[0].centre)
    app.wait_gone("the edit window to close", "frmEditor")

    # Without a remaining time the read-out says "Charging" only while the battery charges.
    for percent, power, shown, label in (
            (85, "0 2 85 -1 10800", "Left  \u2014", "unknown-time"),
            (100, "1 1 100 -1 -1", "Left  \u2014", "full-on-mains"),
            (90, "1 9 90 -1 -1", "Left  Charging", "charging")):
        app.set_power(power)
        app.wait_widget(f"the charge {percent}", lambda w, p=str(percent): w.text == p,
                        "lblBattPercent")
        remain = app.widget("lblRemain").text
        check(remain == shown, f"{label}: lblRemain reads {remain!r}, not {shown!r}")
        app.shot(f"window-{label}")


# The health view's colours: the grid, its 80 % line, and the first two batteries' series.
HEALTH_GRID = (64, 64, 64)
HEALTH_WORN_OUT = (160, 64, 0)
HEALTH_SERIES = ((0, 255, 0), (255, 255, 0))


def health_view_reading(pixels):
    """The health of each battery as the view draws it on its first day, a dot on the left
    end of the axis, read against the 100 % to 50 % grid lines; None while they are not
    drawn."""
    width = len(pixels[0])
    columns = range(width // 4, width * 3 // 4, width // 8)
    grid = [y for y, row in enumerate(pixels)
            if {row[x] for x in columns} in ({HEALTH_GRID}, {HEALTH_WORN_OUT})]
    if len(grid) != 6 or pixels[grid[2]][columns[0]] != HEALTH_WORN_OUT:
        return None
    top, bottom = grid[0], grid[-1]
    healths = []
    for color in HEALTH_SERIES:
        dot = [y for y in range(top, bottom + 1) for x in range(50, 70) if pixels[y][x] == color]
        if dot:
            # The dot's rows run from 3 pixels above its centre to 2 below.
            centre = (min(dot) + max(dot) + 1) / 2
            healths.append(100 - 50 * (centre - top) / (bottom - top))
    return healths


@scenario
def health_diary_and_view(suite):
    """On a saved supply tree the day's diary line holds full / design; Ctrl+H opens the
    health view, which draws each battery's health of the day where the grid puts it."""
    app = suite.new_app("health")
    app.set_power(ON_BATTERY)
    park_pointer()
    app.start(extra_env={"AMPERLOG_SYSFS_ROOT": str(SUPPLY_TREE)})
    app.wait_main_window()
    diary = app.folder / "Data" / "health.csv"
    wait_for("the day's diary line",
             lambda: ",SMP 01AV421 1422,24.05,20.17,83.9,317\n" in diary.read_text())
    logged = sorted(float(line.split(",")[4]) for line in diary.read_text().splitlines()[1:])
    check(len(logged) == 2, f"the diary holds {len(logged)} batteries, not the tree's two")
    xdotool("windowactivate", "--sync", app.window)
    key("ctrl+h")
    app.wait_widget("the battery report", lambda w: True, "frmReport")
    view = region(app, "picHealth")
    drawn = []

    def both_drawn():
        drawn[:] = health_view_reading(read_pixels(app.shot("health", view))) or []
        return len(drawn) == len(logged)

    try:
        wait_for("the health view's dots", both_drawn, timeout=10)
    except Failure:
        raise Failure(f"the health view draws {drawn}, not the diary's {logged}") from None
    drawn.sort()
    check(all(abs(d - h) <= 0.5 for d, h in zip(drawn, logged)),
          f"the health view draws {drawn}, not the diary's {logged}")
    # The report lies over the main window's close button.
    key("Escape")
    app.wait_gone("the battery report to close", "frmReport")


@scenario
def sleep_is_recorded(suite):
    """A sleep of ten minutes writes one line to Data/sleep.csv, with the charge and the
    batteries' energy on either side."""
    app = suite.new_app("sleep")
    app.set_power(ON_BATTERY)
    park_pointer()
    app.start(extra_env={"AMPERLOG_SYSFS_ROOT": str(SUPPLY_TREE)})
    app.wait_main_window()
    wait_for("the start-up line", lambda: lines_with_marker(app, "Monitor"))
    wait_ticks(app, 1)
    diary = app.folder / "Data" / "sleep.csv"
    check(not diary.exists(), "a sleep diary before any sleep")

    app.sleep(600)
    text = wait_for("the sleep's line", lambda: diary.exists() and diary.read_text())
    rows = text.splitlines()
    check(rows[0] == "start,end,seconds,percent_before,percent_after,wh_before,wh_after,"
          "on_mains_before,on_mains_after", f"the header is {rows[0]!r}")
    check(len(rows) == 2, f"the diary reads {rows}")
    start, end, seconds, rest = rows[1].split(",", 3)
    stamp = "%Y-%m-%dT%H:%M:%S"
    gap = datetime.datetime.strptime(end, stamp) - datetime.datetime.strptime(start, stamp)
    check(seconds == "600" and gap.total_seconds() == 600, f"the line is {rows[1]!r}")
    # BAT0's energy_now and BAT1's charge_now at its voltage: 15.89 + 37.10 Wh.
    check(rest == "60,60,52.99,52.99,0,0", f"the line is {rows[1]!r}")


def report_page(suite, lang, name, running=False):
    """The crafted week's report page in a program folder of its own, written by --report on a
    desktop in lang as of the week's end, beside a running copy when running; its path."""
    app = suite.new_app(name, lang=lang)
    shutil.copytree(REPORT_WEEK, app.folder, dirs_exist_ok=True)
    app.set_clock(REPORT_MADE.time(), REPORT_MADE.date())
    # The program's clock reads Berlin's time: moved by how far that is from the suite's.
    berlin = datetime.datetime.now(zoneinfo.ZoneInfo(REPORT_ZONE)).replace(tzinfo=None)
    app.advance_clock(-round((berlin - datetime.datetime.now()).total_seconds()))
    env = {"TZ": REPORT_ZONE}
    if running:
        app.set_power(ON_MAINS)
        park_pointer()
        app.start(extra_env=env)
        app.wait_main_window()
    page = app.folder / "week.html"
    harness.run(app.exe, "--report", page, env=app.environment(env))
    return page


def render_report(page, picture):
    """page as Chromium shows it, in a picture that render-report.sh checks is not blank."""
    harness.run(RENDER_REPORT, page, picture)
    return picture


@scenario
def report_page_in_a_browser(suite):
    """--report writes the crafted week's page, also beside a running copy; it fetches nothing
    and runs nothing, and a real browser renders it in English and in Japanese."""
    for lang, code in ((harness.App.ENGLISH, "en"), (harness.App.JAPANESE, "ja")):
        page = report_page(suite, lang, f"report-{code}", running=code == "ja")
        text = page.read_text(encoding="utf-8")
        check(f'<html lang="{code}">' in text, f"{page.name} is not in {code}")
        for outside in ("<script", "http", "src=", "url("):
            check(outside not in text, f"{page.name} holds {outside!r}")
        check(has_japanese(text) == (code == "ja"), f"{page.name} is not all in {code}")
        render_report(page, suite.out_dir / f"report-page-{code}.png")


def pixels_of_colour(path, colour):
    """How many pixels of an image have exactly the colour ("rgb(0,255,0)")."""
    result = harness.run("convert", path, "-fill", "black", "+opaque", colour, "-fill", "white",
                         "-opaque", colour, "-format", "%[fx:round(mean*w*h)]", "info:")
    return int(result.stdout.strip())


@scenario
def health_on_a_decimal_comma_desktop(suite):
    """On a German desktop (decimal comma) the diary holds points; --health prints the same
    figures and reads the diary back, and the health view draws its series."""
    app = suite.new_app("health-de", lang="de_DE.UTF-8")
    app.set_power(ON_BATTERY)
    park_pointer()
    env = {"AMPERLOG_SYSFS_ROOT": str(SUPPLY_TREE)}
    app.start(extra_env=env)
    app.wait_main_window()
    diary = app.folder / "Data" / "health.csv"
    # The header and a line for each of the two batteries.
    wait_for("the day's diary lines",
             lambda: diary.exists() and diary.read_text().count("\n") >= 3)
    lines = diary.read_text().splitlines()
    check(all(len(line.split(",")) == 6 for line in lines), f"the diary reads {lines}")
    check(lines[1].endswith(",SMP 01AV421 1422,24.05,20.17,83.9,317"), f"the line: {lines[1]}")

    report = harness.run(app.exe, "--health", env=app.environment(env)).stdout
    figures = "SMP 01AV421 1422: design 24.05 Wh, full 20.17 Wh, health 83.9 %, cycles 317"
    check(figures in report, f"--health prints {report!r}")
    check("\nSMP 01AV421 1422: " in report, f"--health has no trend of the diary: {report!r}")

    app.activate()
    key("ctrl+h")
    (view,) = wait_for("the health view",
                       lambda: [w for w in visible_windows(app.pid) if w != app.window])
    app.wait_widget("the health view's picture", lambda w: True, "picHealth")
    shot = harness.window_screenshot(app.out_dir / "health-de-view.png", view)
    # The first battery's colour: its trend's caption and its first day's dot.
    check(pixels_of_colour(shot, "rgb(0,255,0)") > 0, "the view shows no series of the diary")
    key("Escape")
    app.wait_gone("the battery report to close", "frmReport")


def names_percent(text, percent):
    """Whether text holds the number percent on its own (9 is not in 19)."""
    return re.search(rf"(?<!\d){percent}(?!\d)", text) is not None


def on_battery(percent):
    return f"0 2 {percent} 3600 10800"


def on_mains(percent):
    return f"1 9 {percent} -1 -1"


@scenario
def battery_alerts(suite):
    """Charge falling 25 -> 19 -> 9 on battery: one low and one critical alert, each spoken and
    sent to the desktop's notification service, each replacing the one before; "Repeat"
    minutes later the critical one again; mains stops it and closes its notification; charging
    to "Charged" says so once. Missing thresholds are written."""
    repeat = 5
    with notification_server(suite.root / "bus", suite.out_dir) as server:
        # A long interval: the clock jumps below must not make an interval announcement.
        app = start(suite, "alerts", power=on_battery(25), env=server.env,
                    settings={"Work": {"Voice": 1, "SEP": 120},
                              "Alerts": {"Charged": 80, "Repeat": repeat}})
        wait_for('the missing thresholds written ("Low", "Critical")',
                 lambda: (app.setting("Low", "Alerts"), app.setting("Critical", "Alerts"))
                 == ("20", "10"))
        wait_ticks(app, 1)

        def alerts_after(count, what):
            """Waits for the count-th alert, spoken and shown, then a few ticks more, and
            checks that no other came; returns (spoken, notifications)."""
            wait_for(what, lambda: len(app.spoken()) >= count and len(server.received()) >= count)
            wait_ticks(app, 2)
            spoken, shown = app.spoken(), server.received()
            check(len(spoken) == count and len(shown) == count,
                  f"after {what}: spoken {spoken}, shown {[n['summary'] for n in shown]}")
            check([n["summary"] for n in shown] == spoken,
                  f"the notifications {shown} do not say what was spoken, {spoken}")
            return spoken, shown

        check(not app.spoken() and not server.received(), "an alert at 25 %")
        app.set_power(on_battery(19))
        alerts_after(1, "the low alert at 19 %")
        app.set_power(on_battery(9))
        spoken, shown = alerts_after(2, "the critical alert at 9 %")
        check(spoken[0] != spoken[1], f"low and critical say the same: {spoken}")
        check([(n["urgency"], names_percent(n["body"], 19), names_percent(n["body"], 9))
               for n in shown] == [(1, True, False), (2, False, True)],
              f"urgencies or charges of {shown}")
        check(all(n["app_icon"] == "amperlog" and n["image"] for n in shown),
              f"not the program's icon: {shown}")
        check(shown[0]["replaces_id"] == 0 and shown[1]["replaces_id"] == shown[0]["id"],
              f"the critical alert does not replace the low one: {shown}")

        app.advance_clock(repeat * 60)
        spoken, shown = alerts_after(3, f"the critical alert repeated after {repeat} minutes")
        check(spoken[2] == spoken[1] and shown[2]["urgency"] == 2
              and shown[2]["replaces_id"] == shown[1]["id"], f"the repeat was {shown[2]}")
        check(not server.closed(), f"closed on battery: {server.closed()}")

        lines = app.log_lines()
        app.set_power(on_mains(9))
        wait_for("the adapter's line", lambda: "Power" in ",".join(app.log_lines()[len(lines):]))
        wait_for("the critical notification closed", server.closed)
        app.advance_clock(repeat * 60 + 60)
        alerts_after(3, "mains and another repeat interval")

        app.set_power(on_mains(80))
        spoken, shown = alerts_after(4, "the charged alert at 80 %")
        check(spoken[3] not in spoken[:3] and shown[3]["urgency"] == 1
              and names_percent(shown[3]["body"], 80) and shown[3]["replaces_id"] == 0,
              f"the charged alert was {shown[3]}")
        check(server.closed() == [shown[2]["id"]],
              f"closed {server.closed()}, not once the critical {shown[2]['id']}")
        markers = {line.split(",")[-1] for line in app.log_lines()}
        check(markers <= {"Monitor", ""}, f"the log holds other lines than changes: {markers}")
        code = app.close()
        check(code == 0, f"the program exited with {code}")


@scenario
def alert_without_notification_service(suite):
    """Without a session bus to reach, a start below "Low" on battery still announces the low
    alert, once, in the desktop's language (English here), and the program runs on."""
    app = start(suite, "alert-no-bus", power=on_battery(15), settings={"Work": {"Voice": 1}},
                lang=harness.App.ENGLISH,
                env={"DBUS_SESSION_BUS_ADDRESS": f"unix:path={suite.root / 'no-bus'}"})
    wait_for("the low alert", app.spoken)
    wait_ticks(app, 2)
    check(len(app.spoken()) == 1 and not has_japanese(app.spoken()[0]),
          f"announced {app.spoken()}")
    code = app.close()
    check(code == 0, f"the program exited with {code}")
