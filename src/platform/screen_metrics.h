#pragma once

namespace amperlog {

class ScreenMetrics {
public:
    virtual ~ScreenMetrics() = default;
    // Horizontal twips per pixel, rounded: 15 on a 96-dpi screen.
    virtual int TwipsPerPixel() const = 0;
    virtual double WidthTwips() const = 0;
    virtual double HeightTwips() const = 0;
};

} // namespace amperlog
