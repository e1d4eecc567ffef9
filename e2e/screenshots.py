"""The README's screenshots: the test build on a scripted day, photographed window by window."""

import datetime
import math
import os
import shutil
from pathlib import Path

import harness
import scenarios
from harness import wait_for


# A fixed day and time, so that the pictures change only when the program's look does.
DAY = datetime.date(2025, 6, 3)
TIME = datetime.time(13, 40, 0)
# The crafted week of the battery report, looked at the day after it: its clock goes back on
# 25 October in the zone it was logged in.
REPORT_WEEK = Path(__file__).resolve().parent.parent / "tests" / "data" / "report-week"
REPORT_DAY = datetime.date(2026, 10, 26)
REPORT_ZONE = "Europe/Berlin"
SAMPLER_KEYS = ("BattPercent", "RemainTime", "ACStatus", "BattStatus", "LifeTime")


def stored_sample(suite, power):
    """The five sampler keys as the program stores them for power, from a run of its own."""
    prime = scenarios.start(suite, "prime", power=power, clock=TIME, day=DAY)
    wait_for("the sampler keys", lambda: all(prime.setting(k) is not None for k in SAMPLER_KEYS))
    keys = {k: prime.setting(k) for k in SAMPLER_KEYS}
    prime.close()
    return keys


def without_caret(path, window):
    """A picture of a window with a blinking text caret, taken while the caret is off: of two
    pictures that differ, the darker one (the caret is light on a dark box)."""
    first = harness.window_screenshot(path, window)
    second = path.with_suffix(".other.png")

    def blinked():
        harness.window_screenshot(second, window)
        return harness.pixels_differing(first, second) > 0

    try:
        wait_for("the caret to blink", blinked, timeout=3)
    except harness.Failure:
        second.unlink(missing_ok=True)
        return path
    brightness = [float(harness.run("identify", "-format", "%[fx:mean]", p).stdout)
                  for p in (first, second)]
    if brightness[1] < brightness[0]:
        os.replace(second, first)
    second.unlink(missing_ok=True)
    return path


def write_health_diary(app):
    """A year of one battery's diary up to yesterday, wearing 5 % a year towards the health
    the saved supply tree reads today; a few days the machine stayed off."""
    lines = ["date,battery,design_wh,full_wh,health_percent,cycles"]
    for back in range(365, 0, -1):
        if back % 9 == 4:
            continue
        date = DAY - datetime.timedelta(days=back)
        health = 83.9 + 5 * back / 365 + 0.3 * math.sin(back / 11)
        full = 24.05 * health / 100
        lines.append(f"{date.isoformat()},SMP 01AV421 1422,24.05,{full:.2f},{health:.1f},"
                     f"{317 - back * 3 // 4}")
    data = app.folder / "Data"
    data.mkdir(exist_ok=True)
    (data / "health.csv").write_text("\n".join(lines) + "\n", encoding="ascii")


def health_screenshot(suite, dest):
    """The health view over a year of diary, opened with its key."""
    app = suite.new_app("readme-health", clock=TIME, day=DAY, lang=harness.App.ENGLISH)
    app.set_power(scenarios.ON_BATTERY)
    write_health_diary(app)
    harness.park_pointer()
    app.start(extra_env={"AMPERLOG_SYSFS_ROOT": str(scenarios.SUPPLY_TREE)})
    app.wait_main_window()
    scenarios.wait_ready(app)
    harness.run("xdotool", "windowactivate", "--sync", str(app.window))
    harness.key("ctrl+h")
    (view,) = wait_for("the health view",
                       lambda: [w for w in harness.visible_windows(app.pid) if w != app.window])
    harness.window_screenshot(dest / "health.png", view)
    harness.key("Escape")
    app.wait_gone("the battery report to close", "frmReport")


def report_window_screenshots(suite, dest):
    """The battery report's three pages over the crafted week in English, and its Usage page
    in Japanese, each opened with its key and turned to with the arrow keys."""
    for lang, suffix, pages in ((harness.App.ENGLISH, "en", ("health", "usage", "sleep")),
                                (harness.App.JAPANESE, "ja", ("health", "usage"))):
        app = suite.new_app(f"readme-report-{suffix}", clock=TIME, day=REPORT_DAY, lang=lang)
        shutil.copytree(REPORT_WEEK, app.folder, dirs_exist_ok=True)
        app.set_power(scenarios.ON_BATTERY)
        harness.park_pointer()
        app.start(extra_env={"TZ": REPORT_ZONE})
        app.wait_main_window()
        scenarios.wait_ready(app)
        app.activate()
        harness.key("ctrl+h")
        (view,) = wait_for("the battery report",
                           lambda: [w for w in harness.visible_windows(app.pid) if w != app.window])
        for number, page in enumerate(pages):
            if number > 0:
                harness.key("Right")
            app.wait_widget(f"the {page} page", lambda w: True, f"pic{page.capitalize()}")
            if number == len(pages) - 1 or suffix == "en":
                harness.window_screenshot(dest / f"report-window-{page}-{suffix}.png", view)
        harness.key("Escape")
        app.wait_gone("the battery report to close", "frmReport")
        app.close()


def wait_counter(app, text):
    app.wait_widget(f"lblCount at {text}", lambda w: w.text == text, "lblCount")


def english_day(suite, last):
    """The scripted day on an English desktop, three seconds after the start, as the picture
    main-bars-en.png shows it; last is the stored sample of stored_sample."""
    app = scenarios.start(suite, "readme-en", power=scenarios.ON_BATTERY, clock=TIME, day=DAY,
                          settings={"Work": last}, sample_day=True, lang=harness.App.ENGLISH)
    scenarios.wait_ready(app)
    harness.park_pointer()
    app.wait_widget("the panel", lambda w: w.text.startswith("60"), "lblBattPercent")
    wait_counter(app, "0:03")
    return app


def readme_screenshots(dest):
    """Returns a scenario that writes the README's pictures into dest."""

    def readme_screenshots(suite):
        dest.mkdir(parents=True, exist_ok=True)
        # With the last sample stored, the first tick sees no change and writes no line.
        last = stored_sample(suite, scenarios.ON_BATTERY)
        app = scenarios.start(suite, "readme", power=scenarios.ON_BATTERY, clock=TIME, day=DAY,
                              settings={"Work": last}, sample_day=True)
        scenarios.wait_ready(app)
        harness.park_pointer()
        app.wait_widget("the panel", lambda w: w.text.startswith("60"), "lblBattPercent")
        wait_counter(app, "0:03")
        harness.window_screenshot(dest / "main-bars.png", app.window)

        scenarios.click_control(app, "imgGraph")
        harness.park_pointer()
        wait_for('"GraphMode" = 1', lambda: app.setting("GraphMode") == "1")
        graph = app.widget("picMonitor")
        harness.mouse_move(graph.x + graph.width * 3 // 5, graph.y + graph.height * 2 // 3)
        app.wait_widget("a read-out", lambda w: w.text != "", "lblSys")
        wait_counter(app, "0:10")
        harness.window_screenshot(dest / "main-timeline.png", app.window)
        harness.check(len(app.log_lines()) == len(app.sample_rows),
                      "the run logged a line of its own: the pictures would differ each time")

        scenarios.click_control(app, "imgPen")
        app.wait_widget("the edit window", lambda w: w.text.endswith(".txt"), "frmEditor")
        app.wait_widget("the focus in the text box", lambda w: w.focus, "txtEdit")
        harness.key("ctrl+Home")
        windows = [w for w in harness.visible_windows(app.pid) if w != app.window]
        harness.check(len(windows) == 1, f"the edit window is not alone on the screen: {windows}")
        without_caret(dest / "editor.png", windows[0])
        harness.key("Escape")
        app.wait_gone("the edit window to close", "frmEditor")
        app.close()

        english = english_day(suite, last)
        harness.window_screenshot(dest / "main-bars-en.png", english.window)

        # Its window would lie over the next program's.
        english.close()
        health_screenshot(suite, dest)
        report_window_screenshots(suite, dest)
        for lang, code in ((harness.App.ENGLISH, "en"), (harness.App.JAPANESE, "ja")):
            page = scenarios.report_page(suite, lang, f"readme-report-{code}")
            scenarios.render_report(page, dest / f"report-page-{code}.png")

        for picture in dest.glob("*.png"):
            # Small files for the repository: no metadata, a palette of 64 colours, chosen by
            # one thread so that the same picture gives the same file.
            harness.run("mogrify", "-strip", "-dither", "None", "-colors", "64", "-define",
                        "png:exclude-chunks=date,time", picture,
                        env=dict(os.environ, MAGICK_THREAD_LIMIT="1"))

    return readme_screenshots
