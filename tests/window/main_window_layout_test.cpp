#include "platform/fake/fake_screen_metrics.h"
#include "window/main_window_layout.h"

#include <cmath>
#include <gtest/gtest.h>
#include <ostream>

namespace amperlog {
namespace {

constexpr int kUnit = 15;

// A rectangle in whole pixels, which is how the window shows it.
struct PixelRect {
    int left;
    int top;
    int width;
    int height;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

std::ostream& operator<<(std::ostream& out, const PixelRect& r) {
    return out << "{" << r.left << "," << r.top << "," << r.width << "," << r.height << "}";
}

PixelRect Pixels(const TwipRect& r, int unit = kUnit) {
    return {static_cast<int>(r.left / unit), static_cast<int>(r.top / unit),
            static_cast<int>(r.width / unit), static_cast<int>(r.height / unit)};
}

FakeScreenMetrics Screen(double widthPixels, double heightPixels, int unit = kUnit) {
    return FakeScreenMetrics(unit, widthPixels * unit, heightPixels * unit);
}

MainWindowGeometry LaidOut(int clientWidth, int clientHeight, const ScreenMetrics& screen,
                           int unit = kUnit) {
    MainWindowGeometry g;
    LayoutMainWindow(g, static_cast<double>(clientWidth) * unit,
                     static_cast<double>(clientHeight) * unit, unit, screen);
    return g;
}

struct LayoutCase {
    const char* name;
    int clientWidth;
    int clientHeight;
    PixelRect picTitle;
    PixelRect picMonitor;
    PixelRect picPercentRate;
    PixelRect picStop;
    PixelRect picClose;
    PixelRect picStatus;
    PixelRect picRt;
};

class LayoutTable : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTable, PlacesStripsAndGraphs) {
    const LayoutCase& c = GetParam();
    const FakeScreenMetrics screen = Screen(1920, 1080);
    const MainWindowGeometry g = LaidOut(c.clientWidth, c.clientHeight, screen);
    EXPECT_EQ(Pixels(g.picTitle), c.picTitle);
    EXPECT_EQ(Pixels(g.picMonitor), c.picMonitor);
    EXPECT_EQ(Pixels(g.picPercentRate), c.picPercentRate);
    EXPECT_EQ(Pixels(g.picStop), c.picStop);
    EXPECT_EQ(Pixels(g.picClose), c.picClose);
    EXPECT_EQ(Pixels(g.picStatus), c.picStatus);
    EXPECT_EQ(Pixels(g.picRt), c.picRt);
    EXPECT_EQ(Pixels(g.lblTargetName), (PixelRect{48, 8, 77, 21}));
}

// The design strips are 185 (panel), 17 (right) and 25 (title, status) pixels at 15 twips a
// pixel. A move with a negative size is refused: the control keeps its design place.
INSTANTIATE_TEST_SUITE_P(ClientSizes, LayoutTable,
                         ::testing::Values(LayoutCase{"design",
                                                      635,
                                                      324,
                                                      {185, 0, 433, 25},
                                                      {185, 25, 433, 160},
                                                      {185, 193, 433, 106},
                                                      {571, 284, 32, 32},
                                                      {573, 0, 62, 23},
                                                      {0, 299, 635, 25},
                                                      {618, 0, 17, 299}},
                                           LayoutCase{"large",
                                                      1000,
                                                      600,
                                                      {185, 0, 798, 25},
                                                      {185, 25, 798, 325},
                                                      {185, 358, 798, 217},
                                                      {936, 560, 32, 32},
                                                      {938, 0, 62, 23},
                                                      {0, 575, 1000, 25},
                                                      {983, 0, 17, 575}},
                                           LayoutCase{"too_low_for_graphs",
                                                      700,
                                                      50,
                                                      {185, 0, 498, 25},
                                                      {200, 28, 169, 141},
                                                      {200, 172, 169, 109},
                                                      {636, 10, 32, 32},
                                                      {638, 0, 62, 23},
                                                      {0, 25, 700, 25},
                                                      {683, 0, 17, 25}},
                                           LayoutCase{"tiny",
                                                      200,
                                                      40,
                                                      {196, 0, 337, 25},
                                                      {200, 28, 169, 141},
                                                      {200, 172, 169, 109},
                                                      {136, 0, 32, 32},
                                                      {138, 0, 62, 23},
                                                      {0, 15, 200, 25},
                                                      {183, 0, 17, 15}}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(Layout, SurfacesSplitTheFreeHeightSixToFour) {
    const FakeScreenMetrics screen = Screen(1920, 1080);
    const MainWindowGeometry g = LaidOut(800, 1025, screen);
    // 1025 - 25 - 25 - 8 = 967 pixels: 580.2 and 386.8.
    EXPECT_EQ(g.picMonitor.height / kUnit, 580);
    EXPECT_EQ(g.picPercentRate.height / kUnit, 387);
    EXPECT_EQ(g.picPercentRate.top, g.picMonitor.top + g.picMonitor.height + 8 * kUnit);
}

TEST(Layout, AnotherLayoutUnitStartsFromTheDesignAgain) {
    const FakeScreenMetrics screen15 = Screen(1920, 1080, 15);
    MainWindowGeometry g = LaidOut(635, 324, screen15);
    const FakeScreenMetrics screen12 = Screen(1920, 1080, 12);
    LayoutMainWindow(g, 794.0 * 12, 405.0 * 12, 12, screen12);
    EXPECT_EQ(g.unit, 12);
    // 2772 twips are 231 pixels at 12 twips a pixel.
    EXPECT_EQ(Pixels(g.picTitle, 12), (PixelRect{231, 0, 542, 31}));
    EXPECT_EQ(Pixels(g.imgGraph, 12).width, 32);
}

TEST(Layout, ProductsBeyondSixteenBitsSkipOnlyTheirSteps) {
    // 64 x 600 does not fit in 16 bits: picStop stays; the strips still move.
    const int unit = 600;
    const FakeScreenMetrics screen = Screen(1920, 1080, unit);
    MainWindowGeometry g = LaidOut(100, 60, screen, unit);
    const MainWindowGeometry design = DesignGeometry(unit);
    EXPECT_EQ(g.picStop, design.picStop);
    EXPECT_EQ(g.picStatus.top, 60.0 * unit - g.picStatus.height);
    EXPECT_EQ(g.picClose.left, 100.0 * unit - g.picClose.width);
}

TEST(Layout, DesignGeometrySnapsToPixelsAndSizesIconsInPixels) {
    const MainWindowGeometry g = DesignGeometry(kUnit);
    EXPECT_EQ(Pixels(g.picPanel), (PixelRect{4, 0, 185, 290}));
    EXPECT_EQ(Pixels(g.lblSys), (PixelRect{204, 292, 221, 13}));
    EXPECT_EQ(Pixels(g.imgSEP), (PixelRect{68, 72, 32, 32}));
    for (const ControlPlace& place : kControlPlaces) {
        const TwipRect& r = g.*place.rect;
        EXPECT_EQ(std::fmod(r.left, kUnit), 0) << place.name;
        EXPECT_EQ(std::fmod(r.width, kUnit), 0) << place.name;
    }
    ASSERT_NE(FindControlPlace("imgPen"), nullptr);
    EXPECT_EQ(FindControlPlace("imgPen")->container, "picIcon");
    EXPECT_EQ(FindControlPlace("nothing"), nullptr);
}

struct StepCase {
    double width;
    double height;
    int units;
};

class IconStepTable : public ::testing::TestWithParam<StepCase> {};

TEST_P(IconStepTable, FollowsTheScreensShape) {
    const StepCase& c = GetParam();
    const FakeScreenMetrics screen = Screen(c.width, c.height);
    EXPECT_EQ(IconStep(screen, kUnit), c.units * kUnit);
}

INSTANTIATE_TEST_SUITE_P(Screens, IconStepTable,
                         ::testing::Values(StepCase{1024, 768, 36}, StepCase{1600, 1200, 36},
                                           StepCase{1280, 800, 36}, StepCase{1680, 1050, 36},
                                           StepCase{1920, 1080, 44}, StepCase{1600, 900, 44},
                                           StepCase{1366, 768, 44}, StepCase{2560, 1080, 44},
                                           StepCase{1920, 0, 36}, StepCase{1920, -5, 36}));

TEST(IconStep, OverflowGivesNoStep) {
    const FakeScreenMetrics screen = Screen(1920, 1080, 800);
    EXPECT_FALSE(IconStep(screen, 800).has_value());
}

TEST(LayoutIcons, NarrowStepPlacesTheGrid) {
    const FakeScreenMetrics screen = Screen(1024, 768);
    const MainWindowGeometry g = LaidOut(635, 324, screen);
    EXPECT_EQ(Pixels(g.imgConsent), (PixelRect{8, 8, 32, 32}));
    EXPECT_EQ(Pixels(g.picBattery).left, 44);
    EXPECT_EQ(Pixels(g.lblBattPercent).left, 80);
    EXPECT_EQ(Pixels(g.lblBattPercent).top, 14);
    EXPECT_EQ(Pixels(g.imgStay).left, 116);
    EXPECT_EQ(Pixels(g.imgScale), (PixelRect{116, 8, 32, 32}));
    EXPECT_EQ(Pixels(g.imgFile), (PixelRect{8, 44, 32, 32}));
    EXPECT_EQ(Pixels(g.imgPen), (PixelRect{44, 44, 32, 32}));
}

TEST(LayoutIcons, WideStepNarrowsWhereTheRowWouldCutTheLastIcon) {
    // At 15 twips a pixel the rows are 161 pixels wide: 8 + 3 x 44 + 32 = 172 would cut
    // imgStay and imgScale, so the step becomes the widest that fits, 40.
    const FakeScreenMetrics screen = Screen(1920, 1080);
    MainWindowGeometry g = DesignGeometry(kUnit);
    EXPECT_EQ(FittedIconStep(g, screen, kUnit), 40 * kUnit);
    LayoutIcons(g, kUnit, screen);
    EXPECT_EQ(Pixels(g.imgStay).left, 128);
    EXPECT_LE(g.imgStay.left + g.imgStay.width, g.picAC.width);
    EXPECT_LE(g.imgScale.left + g.imgScale.width, g.picIcon.width);
    EXPECT_EQ(Pixels(g.imgPen).top, 48);

    // At 12 twips a pixel the design rows are 201 pixels wide and hold the full step.
    const FakeScreenMetrics screen12 = Screen(1920, 1080, 12);
    g = DesignGeometry(12);
    EXPECT_EQ(FittedIconStep(g, screen12, 12), 44 * 12);
}

TEST(LayoutIcons, StepDoesNotDependOnTheWindowSize) {
    const FakeScreenMetrics screen = Screen(1024, 768);
    const MainWindowGeometry small = LaidOut(300, 200, screen);
    const MainWindowGeometry large = LaidOut(1500, 900, screen);
    EXPECT_EQ(small.imgStay, large.imgStay);
    EXPECT_EQ(small.imgPen, large.imgPen);
}

} // namespace
} // namespace amperlog
