// Renders the program's SVG icon to a square PNG for the icon theme's fixed sizes:
//   amperlog-render-icon <input.svg> <size> <output.png>
// Runs at build time, so the PNGs always match the SVG the program itself shows.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fputs("usage: amperlog-render-icon <input.svg> <size> <output.png>\n", stderr);
        return 2;
    }
    // No screen is needed to paint into an image.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    bool ok = false;
    const int size = args.at(2).toInt(&ok);
    QSvgRenderer renderer(args.at(1));
    if (!ok || size <= 0 || !renderer.isValid()) {
        std::fprintf(stderr, "cannot render %s at %s pixels\n", argv[1], argv[2]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    return image.save(args.at(3), "PNG") ? 0 : 1;
}
