#include "platform/qt/qt_picture_surface.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QTest>
#include <gtest/gtest.h>
#include <string>

namespace amperlog {
namespace {

constexpr int kUnit = 15;
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kBlack{0, 0, 0};

QColor Q(Rgb c) {
    return {c.r, c.g, c.b};
}

// Twips of a whole number of pixels.
PointF Px(double x, double y) {
    return {x * kUnit, y * kUnit};
}

class QtPictureSurfaceTest : public ::testing::Test {
protected:
    QtPictureSurfaceTest() {
        surface.resize(60, 40);
        surface.SetBackColor(kBlack);
    }
    QColor At(int x, int y) { return surface.Picture().pixelColor(x, y); }

    QtPictureSurface surface{nullptr, kUnit};
};

TEST_F(QtPictureSurfaceTest, SizeIsInTwips) {
    EXPECT_EQ(surface.Width(), 60 * kUnit);
    EXPECT_EQ(surface.Height(), 40 * kUnit);
    surface.Resize(32 * kUnit, 32 * kUnit);
    EXPECT_EQ(surface.size(), QSize(32, 32));
}

TEST_F(QtPictureSurfaceTest, FilledBoxLeavesOutItsFarCorner) {
    surface.Line(Px(3, 11), Px(23, 19), BoxMode::Filled, kRed);
    EXPECT_EQ(At(3, 11), Q(kRed));
    EXPECT_EQ(At(22, 18), Q(kRed));
    EXPECT_EQ(At(23, 18), Q(kBlack));
    EXPECT_EQ(At(22, 19), Q(kBlack));
    EXPECT_EQ(surface.CurrentPoint(), Px(23, 19));
}

TEST_F(QtPictureSurfaceTest, OutlineRunsThroughBothCorners) {
    surface.SetForeColor(kGreen);
    surface.Line(Px(0, 8), Px(26, 22), BoxMode::Outline);
    EXPECT_EQ(At(0, 8), Q(kGreen));
    EXPECT_EQ(At(26, 22), Q(kGreen));
    EXPECT_EQ(At(13, 22), Q(kGreen));
    EXPECT_EQ(At(13, 15), Q(kBlack));
}

TEST_F(QtPictureSurfaceTest, LinesAndPointsUseTheForegroundUnlessGivenAColour) {
    surface.SetForeColor(kGreen);
    surface.Line(Px(0, 5), Px(50, 5));
    surface.LineTo(Px(50, 30), BoxMode::Line, kBlue);
    surface.Point(Px(40, 35));
    EXPECT_EQ(At(25, 5), Q(kGreen));
    EXPECT_EQ(At(50, 20), Q(kBlue));
    EXPECT_EQ(At(40, 35), Q(kGreen));
    EXPECT_EQ(surface.CurrentPoint(), Px(40, 35));
}

TEST_F(QtPictureSurfaceTest, SamePenAfterThePictureWasShownStillDraws) {
    surface.SetForeColor(kGreen);
    surface.Line(Px(0, 5), Px(50, 5));
    EXPECT_EQ(At(25, 5), Q(kGreen)); // ends the painting, as a paint event does
    surface.Clear();
    surface.Line(Px(0, 9), Px(50, 9));
    EXPECT_EQ(At(25, 9), Q(kGreen));
}

TEST_F(QtPictureSurfaceTest, AxisLinesCoverThePixelsOfAStrokedLine) {
    // Lines along an axis are filled rather than stroked: the pixels must be the pen's.
    struct Case {
        QPoint from;
        QPoint to;
    } cases[] = {
        {{10, 30}, {10, 4}},  {{10, 4}, {10, 30}}, {{2, 7}, {41, 7}},  {{41, 7}, {2, 7}},
        {{20, 20}, {20, 20}}, {{5, -9}, {5, 12}},  {{55, 3}, {75, 3}}, {{0, 39}, {59, 39}},
        {{-3, 50}, {-3, 60}}, {{59, 0}, {59, 39}},
    };
    for (const Case& c : cases) {
        surface.Clear();
        surface.Line(Px(c.from.x(), c.from.y()), Px(c.to.x(), c.to.y()), BoxMode::Line, kGreen);
        QImage expected(60, 40, QImage::Format_RGB32);
        expected.fill(Q(kBlack));
        QPainter painter(&expected);
        painter.setPen(QPen(Q(kGreen), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawLine(c.from, c.to);
        painter.end();
        EXPECT_EQ(surface.Picture(), expected)
            << c.from.x() << ',' << c.from.y() << " to " << c.to.x() << ',' << c.to.y();
    }
}

TEST_F(QtPictureSurfaceTest, RecordedDrawingReachesThePictureInOrder) {
    // Drawing is painted when the picture is read: what a later operation covers, what a
    // clear throws away, and a picture drawn again after another must all come out right.
    const auto drawA = [this] {
        surface.Clear();
        surface.Line(Px(0, 5), Px(50, 30), BoxMode::Line, kGreen);
        surface.Line(Px(10, 10), Px(20, 20), BoxMode::Filled, kRed);
    };
    drawA();
    const QImage a = surface.Picture();
    EXPECT_EQ(a.pixelColor(15, 15), Q(kRed)) << "the later fill covers the line";

    surface.Clear();
    surface.Line(Px(0, 0), Px(59, 39), BoxMode::Filled, kBlue);
    surface.Clear();
    surface.Point(Px(3, 3), kRed);
    const QImage cleared = surface.Picture();
    EXPECT_EQ(cleared.pixelColor(30, 20), Q(kBlack)) << "the fill before the clear";
    EXPECT_EQ(cleared.pixelColor(3, 3), Q(kRed));

    drawA();
    EXPECT_EQ(surface.Picture(), a);
    drawA();
    EXPECT_EQ(surface.Picture(), a) << "the same picture once more";
    surface.Point(Px(55, 35), kBlue);
    EXPECT_EQ(At(55, 35), Q(kBlue)) << "drawn on without a clear";
}

TEST_F(QtPictureSurfaceTest, DrawingBeforeAResizeIsKept) {
    surface.Line(Px(2, 2), Px(20, 2), BoxMode::Line, kGreen);
    surface.SetBackColor(kBlack);
    surface.Line(Px(2, 4), Px(20, 4), BoxMode::Line, kGreen);
    surface.resize(80, 50);
    surface.Line(Px(70, 45), Px(75, 45), BoxMode::Line, kRed);
    const QImage picture = surface.Picture();
    ASSERT_EQ(picture.size(), QSize(80, 50));
    EXPECT_EQ(picture.pixelColor(2, 2), Q(kBlack)) << "cleared by the new back colour";
    EXPECT_EQ(picture.pixelColor(10, 4), Q(kGreen));
    EXPECT_EQ(picture.pixelColor(72, 45), Q(kRed));
    EXPECT_EQ(picture.pixelColor(70, 10), Q(kBlack));
}

TEST_F(QtPictureSurfaceTest, RunsOfLinesInOneColumnOrRowPaintAsDrawnOneByOne) {
    // As a day's timeline draws them: many short lines on a few columns and rows, in a few
    // colours, overlapping, touching, apart and crossing; compared with each line stroked.
    const Rgb colors[] = {kGreen, kRed, kGreen, kBlue};
    QImage expected(60, 40, QImage::Format_RGB32);
    expected.fill(Q(kBlack));
    QPainter painter(&expected);
    unsigned seed = 7;
    const auto next = [&seed](int n) {
        seed = seed * 1103515245U + 12345U;
        return static_cast<int>((seed >> 16) % static_cast<unsigned>(n));
    };
    int along = 20;
    int fixed = 20;
    bool column = true;
    for (int i = 0; i < 300; ++i) {
        if (next(6) == 0) {
            column = next(3) != 0;
            fixed = 4 + next(16) * 2;
        }
        // Short lines that wander: some overlap the one before, some touch it, some leave a
        // gap of a pixel or two.
        const int start = along + next(7) - 3;
        along = start + next(7) - 3;
        QPoint from = column ? QPoint(fixed, start) : QPoint(start, fixed);
        QPoint to = column ? QPoint(fixed, along) : QPoint(along, fixed);
        if (along < 2 || along > 37) {
            along = 20;
        }
        if (next(8) == 0) {
            to = QPoint(next(60), next(40)); // now and then a slanted line between them
        }
        const Rgb color = colors[next(20) == 0 ? next(4) : 0];
        surface.Line(Px(from.x(), from.y()), Px(to.x(), to.y()), BoxMode::Line, color);
        painter.setPen(QPen(Q(color), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawLine(from, to);
    }
    painter.end();
    EXPECT_EQ(surface.Picture(), expected);
}

TEST_F(QtPictureSurfaceTest, ClearFillsWithTheBackgroundAndResetsTheCurrentPoint) {
    surface.Line(Px(0, 0), Px(59, 39), BoxMode::Filled, kRed);
    surface.SetBackColor(kBlue);
    EXPECT_EQ(At(10, 10), Q(kBlue));
    EXPECT_EQ(surface.CurrentPoint(), (PointF{0, 0}));
}

TEST_F(QtPictureSurfaceTest, GrowingKeepsThePictureAndFillsTheNewPart) {
    surface.Line(Px(0, 0), Px(60, 40), BoxMode::Filled, kRed);
    surface.SetForeColor(kGreen);
    surface.resize(80, 50);
    EXPECT_EQ(At(59, 39), Q(kRed));
    EXPECT_EQ(At(70, 45), Q(kBlack));
}

TEST_F(QtPictureSurfaceTest, PrintDrawsAtTheCurrentPointAndMovesToTheNextLine) {
    surface.SetForeColor(kGreen);
    surface.SetFontSize(9);
    surface.SetCurrentPoint(Px(10, 5));
    surface.Print("88");
    EXPECT_EQ(surface.CurrentPoint().x, 0);
    EXPECT_GT(surface.CurrentPoint().y, 5 * kUnit);
    const QImage picture = surface.Picture();
    int lit = 0;
    for (int y = 5; y < 20; ++y) {
        for (int x = 10; x < 30; ++x) {
            lit += picture.pixelColor(x, y) == Q(kBlack) ? 0 : 1;
        }
    }
    EXPECT_GT(lit, 5);
    EXPECT_EQ(picture.pixelColor(5, 10), Q(kBlack));
}

TEST_F(QtPictureSurfaceTest, DrawingOnAnEmptySurfaceIsHarmless) {
    surface.resize(0, 0);
    surface.Line(Px(0, 0), Px(10, 10), BoxMode::Filled, kRed);
    surface.Point(Px(1, 1));
    surface.Print("x");
    surface.Clear();
    EXPECT_TRUE(surface.Picture().isNull());
}

// Gathers the region of every paint event a widget receives.
class PaintRecorder final : public QObject {
public:
    QRegion painted;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted += static_cast<QPaintEvent*>(event)->region();
        }
        return QObject::eventFilter(watched, event);
    }
};

// What the drawing had repainted: "all", "nothing", or "no paint" when none came in time. A
// one-pixel update asked for after the drawing is painted together with, or after, the
// repaint that the drawing's check asks for, so once it arrives the answer is in.
std::string RepaintedAfterDrawing(QWidget& widget, PaintRecorder& paints) {
    const QRect marker(0, 0, 1, 1);
    paints.painted = QRegion();
    widget.update(marker);
    if (!QTest::qWaitFor([&] { return paints.painted.contains(marker); }, 5000)) {
        return "no paint";
    }
    return paints.painted == QRegion(widget.rect()) ? "all"
           : paints.painted == QRegion(marker)      ? "nothing"
                                                    : "part";
}

TEST(QtPictureSurfaceRepaintTest, OnlyAChangedPictureIsRepainted) {
    QtPictureSurface surface(nullptr, kUnit);
    surface.resize(60, 40);
    surface.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&surface));
    PaintRecorder paints;
    surface.installEventFilter(&paints);
    RepaintedAfterDrawing(surface, paints); // what showing it asked for
    // As the monitor redraws its curve every second: cleared, then drawn again.
    const auto draw = [&surface](Rgb color, const char* label) {
        surface.SetBackColor(kBlack);
        surface.SetForeColor(kGreen);
        surface.Line(Px(0, 5), Px(50, 30), BoxMode::Line, color);
        surface.SetCurrentPoint(Px(2, 2));
        surface.Print(label);
    };

    draw(kGreen, "12");
    EXPECT_EQ(RepaintedAfterDrawing(surface, paints), "all");
    // A window system may repaint a new window whole once more (Windows does when it is first
    // activated): a surface that repaints the same picture does so every time it is drawn.
    std::string again;
    for (int attempt = 0; attempt < 3 && again != "nothing"; ++attempt) {
        draw(kGreen, "12");
        again = RepaintedAfterDrawing(surface, paints);
    }
    EXPECT_EQ(again, "nothing") << "the same picture again";
    draw(kBlue, "12");
    EXPECT_EQ(RepaintedAfterDrawing(surface, paints), "all") << "another colour";
    draw(kBlue, "13");
    EXPECT_EQ(RepaintedAfterDrawing(surface, paints), "all") << "another text";
    surface.Point(Px(40, 35));
    EXPECT_EQ(RepaintedAfterDrawing(surface, paints), "all") << "drawn on without a clear";
    draw(kBlue, "13");
    EXPECT_EQ(RepaintedAfterDrawing(surface, paints), "all") << "the point cleared away";
    surface.SetBackColor(kRed);
    EXPECT_EQ(RepaintedAfterDrawing(surface, paints), "all") << "cleared in another colour";
    EXPECT_EQ(surface.Picture().pixelColor(10, 10), Q(kRed));
}

} // namespace
} // namespace amperlog
