"""The README's screenshots: the test build on a scripted day, photographed window by window."""

import datetime

import harness
import scenarios
from harness import wait_for


def readme_screenshots(dest):
    """Returns a scenario that writes the README's pictures into dest."""

    def readme_screenshots(suite):
        dest.mkdir(parents=True, exist_ok=True)
        app = scenarios.start(suite, "readme", power=scenarios.ON_BATTERY,
                              clock=datetime.time(13, 40, 0), sample_day=True)
        scenarios.wait_ready(app)
        scenarios.wait_first_tick_line(app)
        harness.park_pointer()
        app.wait_widget("the panel", lambda w: w.text.startswith("60"), "lblBattPercent")
        scenarios.wait_ticks(app, 1)
        harness.window_screenshot(dest / "main-bars.png", app.window)

        scenarios.click_control(app, "imgGraph")
        harness.park_pointer()
        wait_for('"GraphMode" = 1', lambda: app.setting("GraphMode") == "1")
        graph = app.widget("picMonitor")
        harness.mouse_move(graph.x + graph.width * 3 // 5, graph.y + graph.height * 2 // 3)
        app.wait_widget("a read-out", lambda w: w.text != "", "lblSys")
        harness.window_screenshot(dest / "main-timeline.png", app.window)

        scenarios.click_control(app, "imgPen")
        app.wait_widget("the edit window", lambda w: w.text.endswith(".txt"), "frmEditor")
        app.wait_widget("the focus in the text box", lambda w: w.focus, "txtEdit")
        windows = [w for w in harness.visible_windows(app.pid) if w != app.window]
        harness.check(len(windows) == 1, f"the edit window is not alone on the screen: {windows}")
        harness.window_screenshot(dest / "editor.png", windows[0])
        harness.key("Escape")
        app.wait_gone("the edit window to close", "frmEditor")

        for picture in dest.glob("*.png"):
            # Small files for the repository: no metadata, a palette of 64 colours.
            harness.run("mogrify", "-strip", "-colors", "64", "-define",
                        "png:exclude-chunks=date,time", picture)

    return readme_screenshots
