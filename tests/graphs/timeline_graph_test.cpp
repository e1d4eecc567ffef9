#include "graph_fixture.h"
#include "graphs/graph_primitives.h"

#include <cmath>
#include <gtest/gtest.h>

namespace amperlog::test {
namespace {

constexpr double kTol = 1e-3;
using Kind = DrawOp::Kind;

class TimelineTest : public GraphTest {
protected:
    void Draw() {
        GraphContext ctx = Context();
        DrawTimelineGraph(ctx);
    }
    // y of a percentage on the 2112-twip surface at 15 twips a pixel.
    static double Y(double percent) { return 1632 - percent * 12.72; }
    // Vertical lines standing on the 0 % line at x, in drawing order.
    std::vector<DrawOp> BarsAt(double x) const {
        std::vector<DrawOp> bars;
        for (const DrawOp& op : monitor.OpsOf(Kind::Line)) {
            if (std::abs(op.from.x - x) < kTol && std::abs(op.to.x - x) < kTol &&
                std::abs(op.from.y - 1632) < kTol && op.to.y < op.from.y) {
                bars.push_back(op);
            }
        }
        return bars;
    }
};

TEST_F(TimelineTest, FrameWithoutFileHasTheGridAndNoHourAxis) {
    monitor.SetTwipsPerPixel(15);
    state.LayoutUnit = 0;
    Draw();
    EXPECT_EQ(state.LayoutUnit, 15);
    EXPECT_NEAR(graphs.GraphLeft, 600, kTol);
    EXPECT_NEAR(graphs.GraphBase, 1632, kTol);
    EXPECT_NEAR(graphs.PercentStep, 12.72, kTol);
    EXPECT_EQ(monitor.Ops().front().kind, Kind::Clear);

    const auto lines = monitor.OpsOf(Kind::Line);
    ASSERT_EQ(lines.size(), 6u);
    const Rgb colors[] = {kButtonShadow, kGraphRed, kButtonShadow,
                          kButtonShadow, kGraphRed, kButtonShadow};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(lines[k].color, colors[k]) << k;
        EXPECT_NEAR(lines[k].from.x, 600, kTol);
        EXPECT_NEAR(lines[k].to.x, 24000 - 240, kTol);
    }
    EXPECT_NEAR(lines[4].from.y, 614.4, kTol);
    EXPECT_NEAR(lines[5].from.y, 360, kTol);
    EXPECT_EQ(monitor.Texts(),
              (std::vector<std::string>{"   0", "  20", "  40", "  60", "  80", " 100"}));
    const auto label80 = monitor.FindPrint("  80");
    ASSERT_TRUE(label80);
    EXPECT_NEAR(label80->from.x, 60, kTol);
    EXPECT_NEAR(label80->from.y, 494.4, kTol);
    EXPECT_EQ(label80->color, kButtonFace);
    EXPECT_EQ(label80->fontSize, 9);
}

TEST_F(TimelineTest, OneSampleOnPower) {
    WriteGraphedLog({LogLine(At(14, 5), "Power", "85%", "Charge", "Monitor")});
    Draw();
    // The leading bar at minute 0: red up to 85 %, green up to 80 %.
    const auto leading = BarsAt(600);
    ASSERT_EQ(leading.size(), 2u);
    EXPECT_EQ(leading[0].color, kGraphRed);
    EXPECT_NEAR(leading[0].to.y, Y(85), kTol);
    EXPECT_EQ(leading[1].color, kGraphGreen);
    EXPECT_NEAR(leading[1].to.y, Y(80), kTol);
    // The green line from the origin to the sample at level 85.
    const auto green = monitor.LinesIn(kGraphGreen);
    const auto horizontal = std::find_if(green.begin(), green.end(), [](const DrawOp& op) {
        return op.from.y == op.to.y && op.from.x == 600;
    });
    ASSERT_NE(horizontal, green.end());
    EXPECT_NEAR(horizontal->to.x, 675, kTol);
    EXPECT_NEAR(horizontal->to.y, Y(85), kTol);
    // The sample's own bar, rounded to whole twips, and the start point of the line.
    const auto own = BarsAt(675);
    ASSERT_EQ(own.size(), 2u);
    EXPECT_EQ(own[0].to.y, 551);
    const auto points = monitor.OpsOf(Kind::Point);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].from, (PointF{675, 551}));
    EXPECT_EQ(points[0].color, kButtonFace);
    // Hour labels 14 round to 13 and 14 again, the first under the origin.
    const auto texts = monitor.Texts();
    ASSERT_EQ(texts.size(), 6u + 25u);
    EXPECT_EQ(texts[6], " 14 ");
    EXPECT_EQ(texts[6 + 23], " 13 ");
    EXPECT_EQ(texts[6 + 24], " 14 ");
    const auto first = monitor.FindPrint(" 14 ");
    EXPECT_NEAR(first->from.x, 600 - 90, kTol);
    EXPECT_NEAR(first->from.y, 1632 + 120, kTol);
    EXPECT_EQ(first->fontSize, 8);
}

TEST_F(TimelineTest, HourLabelsOfAGraphStartingAtNine) {
    WriteGraphedLog({LogLine(At(9, 30), "Batt", "60%", "3600", "")});
    Draw();
    const auto texts = monitor.Texts();
    ASSERT_EQ(texts.size(), 31u);
    EXPECT_EQ(texts[6], " 9 ");
    EXPECT_EQ(texts[6 + 15], " 0 ") << "the 16th tick";
}

TEST_F(TimelineTest, GapBarsLieOnTheLineBetweenTwoSamples) {
    WriteGraphedLog(
        {LogLine(At(10, 0), "Batt", "50%", "3600"), LogLine(At(10, 32), "Power", "34%", "Charge")});
    Draw();
    const struct {
        double x;
        double level;
    } expected[] = {{600 + 8 * 15, 46}, {600 + 16 * 15, 42}, {600 + 24 * 15, 38}};
    for (const auto& e : expected) {
        const auto bars = BarsAt(e.x);
        ASSERT_EQ(bars.size(), 1u) << e.x;
        EXPECT_NEAR(bars[0].to.y, Y(e.level), kTol);
        EXPECT_EQ(bars[0].color, kButtonFace) << "the colour of the earlier sample";
    }
    EXPECT_TRUE(BarsAt(600 + 32 * 15).size() == 1u) << "the second sample's own bar only";
    // The segment into the second sample takes its colour.
    const auto green = monitor.LinesIn(kGraphGreen);
    ASSERT_FALSE(green.empty());
    EXPECT_EQ(green.back().from, (PointF{600, 996}));
    EXPECT_EQ(green.back().to, (PointF{1080, 1200}));
}

TEST_F(TimelineTest, ConnectingLineStartsAtTheFirstPositiveSample) {
    WriteGraphedLog({LogLine(At(10, 0), "Batt", "   ", "3600"),
                     LogLine(At(10, 1), "Batt", "50%", "3600"),
                     LogLine(At(10, 2), "Batt", "49%", "3600")});
    Draw();
    const auto points = monitor.OpsOf(Kind::Point);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[1].from, (PointF{615, 996}));
    const DrawOp last = monitor.OpsOf(Kind::Line).back();
    EXPECT_EQ(last.from, (PointF{615, 996}));
    EXPECT_EQ(last.to.x, 630);
}

TEST_F(TimelineTest, RepeatsWithinAPixelAreDrawnOnce) {
    WriteGraphedLog({LogLine(At(10, 0, 0), "Batt", "50%", "7200"),
                     LogLine(At(10, 0, 20), "Batt", "50%", "7200"),
                     LogLine(At(10, 0, 40), "Batt", "49%", "7200"),
                     LogLine(At(10, 0, 50), "Power", "49%", "7200")});
    SetWork("Remain", "1");
    Draw();
    const auto bars = BarsAt(600);
    // 50 %: the leading bar, then the first sample's over the level line, its repeat left
    // out; 49 % on battery lies within it and is left out too; 49 % on power.
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(bars[0].to, bars[1].to);
    EXPECT_NEAR(bars[2].to.y, 1009, kTol);
    EXPECT_EQ(bars[2].color, kGraphGreen);
    // The line: a point at 50 %, the step down to 49 %, then the same end in green.
    const auto green = monitor.LinesIn(kGraphGreen);
    ASSERT_EQ(monitor.OpsOf(Kind::Point).size(), 1u + 2u)
        << "the line's start, each overlay pass's";
    EXPECT_EQ(monitor.LinesIn(kButtonFace).back().to, (PointF{600, 1009}));
    EXPECT_EQ(green.back().from, (PointF{600, 1009}));
    EXPECT_TRUE(monitor.LinesIn(kGraphYellow).empty()) << "all remaining times share a point";
}

TEST_F(TimelineTest, OnlyBarsThatRiseAboveTheLastOneInAPixelAreDrawn) {
    WriteGraphedLog({LogLine(At(10, 0, 0), "Batt", "50%"), LogLine(At(10, 0, 8), "Batt", "47%"),
                     LogLine(At(10, 0, 16), "Batt", "52%"), LogLine(At(10, 0, 24), "Batt", "85%"),
                     LogLine(At(10, 0, 32), "Batt", "81%"), LogLine(At(10, 0, 40), "Batt", "60%"),
                     LogLine(At(10, 0, 48), "Batt", "90%")});
    Draw();
    // The leading bar and the first sample's; 47 % lies within them; 52 %; 85 % in two
    // colours; 81 % and 60 % within it; 90 % in two colours. Sample bars stand on whole
    // twips; the red part ends on the 80 % line.
    const auto top = [](double percent) {
        return std::round(Y(percent));
    };
    const double expected[] = {Y(50), Y(50), top(52), top(85), Y(80), top(90), Y(80)};
    const auto bars = BarsAt(600);
    ASSERT_EQ(bars.size(), std::size(expected));
    for (std::size_t k = 0; k < bars.size(); ++k) {
        EXPECT_NEAR(bars[k].to.y, expected[k], kTol) << k;
    }
}

TEST_F(TimelineTest, RemainOverlayOnlyWhenRemainIsOne) {
    WriteGraphedLog(
        {LogLine(At(10, 0), "Batt", "50%", "7200"), LogLine(At(10, 8), "Batt", "48%", "7000")});
    for (const char* value : {"0", "2", ""}) {
        SetWork("Remain", value);
        Draw();
        EXPECT_TRUE(monitor.LinesIn(kGraphYellow).empty()) << value;
    }
    SetWork("Remain", "1");
    Draw();
    const auto yellow = monitor.LinesIn(kGraphYellow);
    ASSERT_EQ(yellow.size(), 1u);
    EXPECT_EQ(yellow[0].lineWidth, 5);
    EXPECT_NEAR(yellow[0].from.y, 1632 - 2 * 10 * 12.72, kTol);
    ASSERT_EQ(monitor.LinesIn(kGraphRed).back().lineWidth, 3);
    EXPECT_EQ(monitor.LineWidth(), 1);
}

TEST_F(TimelineTest, HalfScaleHalvesTheTimeAxis) {
    state.GraphScale = 0.5f;
    WriteGraphedLog({LogLine(At(10, 0), "Batt", "50%"), LogLine(At(11, 0), "Batt", "50%")});
    Draw();
    EXPECT_EQ(BarsAt(600 + 30 * 15).size(), 1u);
}

TEST_F(TimelineTest, NonsenseSepStillEnds) {
    WriteGraphedLog({LogLine(At(0, 0), "Batt", "90%"), LogLine(At(23, 59), "Batt", "10%")});
    for (const char* sep : {"0", "-5", "nan", "1e9"}) {
        SetWork("SEP", sep);
        Draw();
        EXPECT_GE(state.SepMinutes, 1) << sep;
    }
}

struct ReadoutCase {
    const char* name;
    double x;
    float scale;
    std::vector<CivilTime> sampleTimes;
    std::string expected;
};

class TimelineReadoutTest : public GraphTest, public ::testing::WithParamInterface<ReadoutCase> {};

TEST_P(TimelineReadoutTest, TextForThePointer) {
    const ReadoutCase& c = GetParam();
    graphs.GraphLeft = 600;
    state.GraphScale = c.scale;
    state.GraphStartHour = At(14, 0);
    state.DaySamples.emplace();
    float percent = 85;
    for (const CivilTime t : c.sampleTimes) {
        state.DaySamples->push_back({t, "Batt", percent--, "3600", ""});
    }
    now = At(17, 0);
    EXPECT_EQ(TimelineReadout(Context(), c.x), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimelineReadoutTest,
    ::testing::Values(
        ReadoutCase{"SampleInTheMinute", 600 + 15 * 65, 1.0f, {At(15, 5, 40)}, "15:05   85"},
        ReadoutCase{"SampleOneSecondEarlier", 600 + 15 * 65, 1.0f, {At(15, 4, 59)}, "15:05   "},
        ReadoutCase{"HalfScale", 600 + 15 * 65, 0.5f, {}, "16:10   "},
        ReadoutCase{"HalfAMinuteLeftIsTheOrigin", 600 - 7, 1.0f, {}, "14:00   "},
        ReadoutCase{"FurtherLeftIsEmpty", 600 - 8, 1.0f, {}, ""},
        ReadoutCase{"PresentMinute", 600 + 15 * 180, 1.0f, {}, "17:00   "},
        ReadoutCase{"FutureIsEmpty", 600 + 15 * 181, 1.0f, {}, ""},
        ReadoutCase{"TwoInOneMinuteShowTheFirst",
                    600 + 15 * 30,
                    1.0f,
                    {At(14, 30, 50), At(14, 30, 10)},
                    "14:30   85"}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
} // namespace amperlog::test
