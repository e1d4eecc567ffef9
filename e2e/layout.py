"""Where the main window's controls are, worked out from the window's design geometry (in
twips, 15 to the pixel on a 96 dpi screen) and its resize layout, as a user would find them.
Rectangles are (left, top, width, height) in pixels relative to the window, whose client area
is the whole window since it has no frame.
"""

TWIPS_PER_PIXEL = 15
DESIGN_CLIENT = (9528, 4860)
ICON = 32  # pixels


def _px(twips):
    return twips / TWIPS_PER_PIXEL


def icon_step(screen_width, screen_height):
    """The icon grid's step: wider than 16:10 screens spread the buttons further."""
    return 44 if screen_width / screen_height > 1.6 else 36


def main_window(width, height, screen=(1280, 800)):
    """The controls the suite uses, for a window of width x height pixels."""
    u = 1  # LayoutUnit in pixels
    panel_left, panel_width = _px(60), _px(2772)
    right_width = _px(252)
    title_height = _px(372)
    status_height = _px(372)
    step = icon_step(*screen)

    graphs = height - title_height - status_height - 8 * u
    monitor = (panel_width, title_height, width - panel_width - right_width, graphs * 0.6)
    rate_top = title_height + monitor[3] + 8 * u
    close_width = _px(924)

    ac_left, ac_top = panel_left + _px(240), _px(360)
    icons_left, icons_top = panel_left + _px(240), _px(1140)
    return {
        "picTitle": (panel_width, 0, width - panel_width - right_width, title_height),
        "picClose": (width - close_width, 0, close_width, _px(348)),
        "picMonitor": monitor,
        "picPercentRate": (panel_width, rate_top, monitor[2], graphs * 0.4),
        "picStatus": (0, height - status_height, width, status_height),
        "lblSys": (_px(3060), _px(4380), _px(3312), _px(192)),
        "Label2": (panel_left + _px(360), _px(60), _px(1596), _px(240)),
        "imgStay": (ac_left + 8 * u + 3 * step, ac_top + 8 * u, ICON, ICON),
        "imgGraph": (icons_left + 8 * u, icons_top + 8 * u, ICON, ICON),
        "imgRemain": (icons_left + 8 * u + step, icons_top + 8 * u, ICON, ICON),
        "imgVoice": (icons_left + 8 * u + 2 * step, icons_top + 8 * u, ICON, ICON),
        "imgScale": (icons_left + 8 * u + 3 * step, icons_top + 8 * u, ICON, ICON),
        "imgFile": (icons_left + 8 * u, icons_top + 8 * u + step, ICON, ICON),
        "imgPen": (icons_left + 8 * u + step, icons_top + 8 * u + step, ICON, ICON),
    }


def design_size():
    return (round(_px(DESIGN_CLIENT[0])), round(_px(DESIGN_CLIENT[1])))


def centre(rect):
    left, top, width, height = rect
    return (int(left + width / 2), int(top + height / 2))


GRAPH_LEFT = 40  # pixels: where the time axis of picMonitor and picPercentRate begins


def graph_x(minutes, scale=1.0):
    """The x, from picMonitor's left edge, of the minute minutes after the graph's first hour,
    at graph scale scale (1 or 0.5; "Expand")."""
    return minutes * scale + GRAPH_LEFT
