// Renders one of the program's SVG pictures to a PNG at build time:
//   amperlog-render-picture <input.svg> <width> <height> <ratio> <output.png>
// width and height are device-independent pixels; the PNG has width x ratio by height x ratio
// pixels (rounded as QSize * qreal rounds), drawn as the program draws the SVG itself, so a
// build without QtSvg shows the same pixels. Also makes the icon theme's fixed sizes.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 6) {
        std::fputs("usage: amperlog-render-picture <input.svg> <width> <height> <ratio> "
                   "<output.png>\n",
                   stderr);
        return 2;
    }
    // No screen is needed to paint into an image.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    bool widthOk = false;
    bool heightOk = false;
    bool ratioOk = false;
    const QSize size(args.at(2).toInt(&widthOk), args.at(3).toInt(&heightOk));
    const qreal ratio = args.at(4).toDouble(&ratioOk);
    QSvgRenderer renderer(args.at(1));
    if (!widthOk || !heightOk || !ratioOk || size.isEmpty() || !(ratio > 0) ||
        !renderer.isValid()) {
        std::fprintf(stderr, "cannot render %s at %s x %s, ratio %s\n", argv[1], argv[2], argv[3],
                     argv[4]);
        return 1;
    }
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    return image.save(args.at(5), "PNG") ? 0 : 1;
}
