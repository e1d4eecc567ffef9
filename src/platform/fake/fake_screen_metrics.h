#pragma once

#include "platform/screen_metrics.h"

namespace amperlog {

// A 1920 x 1080 screen at 96 dpi unless told otherwise.
class FakeScreenMetrics final : public ScreenMetrics {
public:
    static constexpr int kDefaultTwipsPerPixel = 15;
    static constexpr double kDefaultWidthTwips = 1920.0 * 15;
    static constexpr double kDefaultHeightTwips = 1080.0 * 15;

    FakeScreenMetrics() = default;
    FakeScreenMetrics(int twipsPerPixel, double widthTwips, double heightTwips)
        : m_twipsPerPixel(twipsPerPixel), m_width(widthTwips), m_height(heightTwips) {}

    int TwipsPerPixel() const override { return m_twipsPerPixel; }
    double WidthTwips() const override { return m_width; }
    double HeightTwips() const override { return m_height; }

    void SetTwipsPerPixel(int twipsPerPixel) { m_twipsPerPixel = twipsPerPixel; }
    void SetSize(double widthTwips, double heightTwips) {
        m_width = widthTwips;
        m_height = heightTwips;
    }

private:
    int m_twipsPerPixel = kDefaultTwipsPerPixel;
    double m_width = kDefaultWidthTwips;
    double m_height = kDefaultHeightTwips;
};

} // namespace amperlog
