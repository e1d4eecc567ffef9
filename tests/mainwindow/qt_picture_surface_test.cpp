#include "qt_picture_surface.h"

#include <QImage>
#include <gtest/gtest.h>

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

} // namespace
} // namespace amperlog
