#pragma once

#include <string_view>

namespace amperlog {

class SettingsStore;

// A window's position and size in twips.
struct WindowRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

// Where a window loading now should go, from its placement stored under key in "Windows"
// ("Main", "Editor"). current is the window's present (design) rectangle; the screen size is
// in twips. The read refreshes the store's TwipsPerPixel, which gives the margin
// m = 64 pixels:
// - nothing stored: centred on the screen, size kept;
// - left below -m becomes -m, beyond the screen's width becomes width - m;
// - top below -m becomes -m, below screen height - m becomes height - m;
// - a missing width or height keeps the current one; non-numeric pieces read as 0.
// A stored width or height below one pixel or above 32767 pixels keeps the current one, so
// that a hand-edited value never makes the window vanish.
WindowRect LoadPlacement(SettingsStore& store, std::string_view key, const WindowRect& current,
                         double screenWidthTwips, double screenHeightTwips);

// Stores "left,top,width,height" as decimal texts under key in "Windows".
void SavePlacement(SettingsStore& store, std::string_view key, const WindowRect& rect);

} // namespace amperlog
