#include "platform/qt/qt_screen_metrics.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace amperlog {
namespace {

const QScreen* Primary() {
    return QGuiApplication::primaryScreen();
}

int ScreenTwipsPerPixel() {
    const QScreen* screen = Primary();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInchX() : 96.0;
    if (!(dpi > 0)) {
        return 15;
    }
    const auto twips = static_cast<int>(std::nearbyint(1440.0 / dpi));
    return twips > 0 ? twips : 1;
}

} // namespace

int QtScreenMetrics::TwipsPerPixel() const {
    return ScreenTwipsPerPixel();
}

double QtScreenMetrics::WidthTwips() const {
    const QScreen* screen = Primary();
    return screen != nullptr
               ? screen->geometry().width() * static_cast<double>(ScreenTwipsPerPixel())
               : 0.0;
}

double QtScreenMetrics::HeightTwips() const {
    const QScreen* screen = Primary();
    return screen != nullptr
               ? screen->geometry().height() * static_cast<double>(ScreenTwipsPerPixel())
               : 0.0;
}

} // namespace amperlog
