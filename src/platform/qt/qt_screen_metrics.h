#pragma once

#include "platform/screen_metrics.h"

namespace amperlog {

// The primary screen in twips: 1440 twips to the logical inch.
class QtScreenMetrics final : public ScreenMetrics {
public:
    int TwipsPerPixel() const override;
    double WidthTwips() const override;
    double HeightTwips() const override;
};

} // namespace amperlog
