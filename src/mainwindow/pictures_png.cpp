#include "mainwindow/widget_look.h"

#include <QImage>
#include <array>

namespace amperlog {
namespace {

// The scales the pictures were rendered at, in percent; each PNG is its picture's one size
// (src/mainwindow/CMakeLists.txt) at that scale.
constexpr std::array kScales = {100, 125, 150, 200};

QImage Rendered(const char* name, int scale) {
    return QImage(QStringLiteral(":/pictures/%1@%2.png").arg(QLatin1String(name)).arg(scale));
}

} // namespace

QPixmap RenderIcon(const char* name, QSize size, qreal ratio) {
    const QSize pixels = size * ratio;
    // The rendering of this very size and scale; any other is scaled from the finest one.
    QImage image = Rendered(name, qRound(ratio * 100));
    if (image.size() != pixels) {
        image = Rendered(name, kScales.back());
        if (!image.isNull()) {
            image = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
    }
    QPixmap pixmap(pixels);
    if (image.isNull()) {
        pixmap.fill(Qt::transparent);
    } else {
        pixmap = QPixmap::fromImage(image);
    }
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const int scale : kScales) {
        icon.addPixmap(QPixmap::fromImage(Rendered("amperlog", scale)));
    }
    return icon;
}

} // namespace amperlog
