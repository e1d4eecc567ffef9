#include "mainwindow/widget_look.h"

#include <QPainter>
#include <QSvgRenderer>

namespace amperlog {

QPixmap RenderIcon(const char* name, QSize size, qreal ratio) {
    QPixmap pixmap(size * ratio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        renderer.render(&painter);
    }
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QIcon ProgramIcon() {
    return QIcon(QStringLiteral(":/icons/amperlog.svg"));
}

} // namespace amperlog
