#include "mainwindow/counter_label.h"
#include "platform/qt/qt_fonts.h"

#include <QImage>
#include <QLabel>
#include <QPalette>
#include <gtest/gtest.h>

namespace amperlog {
namespace {

// A label on a dark background with light text, as the window's counter.
void Dress(QLabel& label, double points) {
    label.setFont(UiFont(points));
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = label.palette();
    palette.setColor(QPalette::Window, QColor(32, 32, 32));
    palette.setColor(QPalette::WindowText, QColor(230, 230, 230));
    label.setPalette(palette);
    label.setAutoFillBackground(true);
}

QImage Rendered(QLabel& label) {
    QImage image(label.size(), QImage::Format_RGB32);
    label.render(&image);
    return image;
}

template <class Label>
QImage Shown(const QString& text, double points = 9) {
    Label label;
    Dress(label, points);
    label.resize(60, 20);
    label.setText(text);
    return Rendered(label);
}

// Pixels lighter than the background by a clear margin.
int Ink(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) > 90 ? 1 : 0;
}

// How far the two pictures' ink lies apart: the number of inked pixels of one with no ink
// of the other within a pixel.
int Stray(const QImage& a, const QImage& b) {
    int stray = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (Ink(a, x, y) == 0) {
                continue;
            }
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy) {
                for (int dx = -1; dx <= 1 && !near; ++dx) {
                    const int nx = x + dx;
                    const int ny = y + dy;
                    near = nx >= 0 && ny >= 0 && nx < b.width() && ny < b.height() &&
                           Ink(b, nx, ny) == 1;
                }
            }
            stray += near ? 0 : 1;
        }
    }
    return stray;
}

int InkCount(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += Ink(image, x, y);
        }
    }
    return count;
}

TEST(CounterLabel, LooksAsTheLabelWouldDrawIt) {
    for (const char* text : {"0:00", "7:05", "12:59", "1439:58", "8:31"}) {
        SCOPED_TRACE(text);
        const QImage counter = Shown<CounterLabel>(text);
        const QImage label = Shown<QLabel>(text);
        ASSERT_GT(InkCount(label), 10);
        EXPECT_EQ(Stray(counter, label), 0);
        EXPECT_EQ(Stray(label, counter), 0);
    }
}

TEST(CounterLabel, OtherTextsAreDrawnByTheLabel) {
    for (const char* text : {"", "8 分", "-1:00", "abc"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Shown<CounterLabel>(text), Shown<QLabel>(text));
    }
}

TEST(CounterLabel, FollowsItsFont) {
    EXPECT_GT(InkCount(Shown<CounterLabel>("8:88", 14)), InkCount(Shown<CounterLabel>("8:88", 9)));
    CounterLabel label;
    Dress(label, 9);
    label.resize(80, 30);
    label.setText("8:88");
    const QImage small = Rendered(label);
    label.setFont(UiFont(14));
    const QImage large = Rendered(label);
    EXPECT_GT(InkCount(large), InkCount(small)) << "glyphs made again for the new font";
}

} // namespace
} // namespace amperlog
