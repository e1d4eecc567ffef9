#include "mainwindow/widget_look.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

namespace amperlog {
namespace {

// The Windows build shows the pictures the host's Qt rendered at build time, as
// <name>@<percent>.png: each must be the very pixels this build draws from the SVG at that scale.
TEST(Pictures, RenderedAtBuildTimeAreThoseDrawnAtRunTime) {
    const QDir dir(QStringLiteral(AMPERLOG_RENDERED_PICTURES));
    const QStringList files = dir.entryList({QStringLiteral("*@*.png")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty()) << dir.path().toStdString();
    for (const QString& file : files) {
        const QString stem = file.chopped(4);
        const QString name = stem.section(QLatin1Char('@'), 0, 0);
        const qreal ratio = stem.section(QLatin1Char('@'), 1).toInt() / 100.0;
        const QImage rendered =
            QImage(dir.filePath(file)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QSize size(qRound(rendered.width() / ratio), qRound(rendered.height() / ratio));
        const QImage drawn = RenderIcon(name.toLatin1().constData(), size, ratio)
                                 .toImage()
                                 .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(drawn.size(), rendered.size()) << file.toStdString();
        EXPECT_TRUE(drawn == rendered) << file.toStdString();
    }
}

} // namespace
} // namespace amperlog
