#include "graph_fixture.h"
#include "graphs/graph_primitives.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace amperlog::test {
namespace {

constexpr double kTol = 1e-3;
using Kind = DrawOp::Kind;

class BarGraphTest : public GraphTest {
protected:
    void Draw() {
        GraphContext ctx = Context();
        DrawBarGraph(ctx);
    }
    std::vector<DrawOp> Boxes() const {
        std::vector<DrawOp> boxes;
        for (const DrawOp& op : monitor.OpsOf(Kind::Line)) {
            if (op.mode == BoxMode::Filled) {
                boxes.push_back(op);
            }
        }
        return boxes;
    }
    std::vector<float> SlotPercents() const {
        std::vector<float> values;
        for (const BarSlot& slot : graphs.BarSlots) {
            values.push_back(slot.Percent);
        }
        return values;
    }
};

TEST_F(BarGraphTest, FrameAndNoSamples) {
    Draw();
    EXPECT_EQ(graphs.BarLeftMargin, 600);
    EXPECT_EQ(graphs.BarBaseline, 1632);
    EXPECT_NEAR(graphs.BarScaleY, 12.72, kTol);
    EXPECT_EQ(monitor.OpsOf(Kind::Line).size(), 6u);
    const auto label = monitor.FindPrint("  80");
    ASSERT_TRUE(label);
    EXPECT_EQ(label->color, kGraphWhite);
    EXPECT_NEAR(label->from.y, 494.4, kTol);
    EXPECT_TRUE(graphs.BarSlots.empty());
}

TEST_F(BarGraphTest, TodaysSlotsRunUpToTheMinuteBeforeNow) {
    WriteGraphedLog(
        {LogLine(At(9, 0), "Batt", "80%", "7200"), LogLine(At(9, 10), "Batt", "78%", "6900")});
    now = At(10, 5);
    Draw();
    ASSERT_EQ(graphs.BarSlots.size(), 9u); // 9:00, 9:08, ... 10:04
    EXPECT_EQ(graphs.BarSlots.back().Time, At(10, 4));
    EXPECT_FLOAT_EQ(graphs.BarSlots.back().Percent, 78) << "repeats the last bar";
    EXPECT_EQ(graphs.BarSlots[1].Remain, 6900);
}

TEST_F(BarGraphTest, PointerReadoutIsRightBeforeAnyTimeline) {
    WriteGraphedLog(
        {LogLine(At(9, 0), "Batt", "80%", "7200"), LogLine(At(9, 10), "Batt", "78%", "6900")});
    now = At(10, 5);
    Draw();
    EXPECT_EQ(TimelineReadout(Context(), 600 + 10 * 15), "09:10   78");
}

TEST_F(BarGraphTest, OlderLogsSlotsEndBeforeTheLastSample) {
    window.lblTargetName = "20261205.txt";
    WriteGraphedLog({"12/05 09:00:00,Batt,80%,7200,", "12/05 09:40:00,Batt,60%,6000,"});
    Draw();
    ASSERT_EQ(graphs.BarSlots.size(), 5u);
    EXPECT_EQ(graphs.BarSlots.back().Time, state.GraphStartHour->AddSeconds(32 * 60));
}

TEST_F(BarGraphTest, OlderLogWithinItsFirstMinuteHasNoSlot) {
    window.lblTargetName = "20261205.txt";
    WriteGraphedLog({"12/05 09:00:10,Batt,80%,7200,", "12/05 09:00:50,Batt,79%,7200,"});
    Draw();
    EXPECT_TRUE(graphs.BarSlots.empty());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(monitor.Texts().size(), 6u + 25u) << "frame and hour axis";
}

TEST_F(BarGraphTest, EightyIsPlainGreenAndEightyOneHasARedTop) {
    struct Case {
        const char* percent;
        std::vector<Rgb> colors;
        std::vector<double> tops;
    } cases[] = {
        {"80%", {kGraphGreen}, {1632 - 80 * 12.72}},
        {"81%", {kGraphRed, kGraphGreen}, {1632 - 81 * 12.72, 1632 - 80 * 12.72}},
    };
    now = At(9, 5);
    for (const auto& c : cases) {
        WriteGraphedLog({LogLine(At(9, 0), "Batt", c.percent, "7200")});
        Draw();
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), c.colors.size()) << c.percent;
        for (std::size_t k = 0; k < boxes.size(); ++k) {
            EXPECT_EQ(boxes[k].color, c.colors[k]);
            EXPECT_EQ(boxes[k].from, (PointF{600, 1632}));
            EXPECT_NEAR(boxes[k].to.x, 660, kTol) << "half of an 8-minute slot";
            EXPECT_NEAR(boxes[k].to.y, c.tops[k], kTol);
        }
    }
}

TEST_F(BarGraphTest, FirstSampleOfASlotGivesItsValue) {
    WriteGraphedLog({LogLine(At(9, 3), "Batt", "70%"), LogLine(At(9, 1), "Batt", "60%"),
                     LogLine(At(9, 9), "Batt", "50%")});
    now = At(9, 16);
    Draw();
    EXPECT_EQ(SlotPercents(), (std::vector<float>{70, 50}));
}

TEST_F(BarGraphTest, GapsApproachTheNextSampleStepByStep) {
    // 9:00 at 80 %, next sample 9:40 at 60 %: the slots between head for it.
    WriteGraphedLog({LogLine(At(9, 0), "Batt", "80%"), LogLine(At(9, 40), "Batt", "60%")});
    now = At(9, 45);
    Draw();
    // Each slot moves 8/d of the way from the last bar to 60, d being the minutes from ten
    // minutes after its start to 9:40, plus 8:
    //   9:08: d = 22 + 8 = 30, 80 - 20 * 8/30 = 74.667
    //   9:16: d = 14 + 8 = 22, 74.667 - 14.667 * 8/22 = 69.333
    //   9:24: d = 6 + 8 = 14, 69.333 - 9.333 * 8/14 = 64
    //   9:32: nothing at 9:42 or later, the last value holds: 64
    EXPECT_THAT(SlotPercents(), testing::Pointwise(testing::FloatNear(1e-3F),
                                                   {80.0F, 74.667F, 69.333F, 64.0F, 64.0F, 60.0F}));
}

TEST_F(BarGraphTest, SlotsBeforeAFarFirstSampleTakeItsPercent) {
    WriteGraphedLog({LogLine(At(9, 25), "Batt", "66%", "5000")});
    now = At(9, 30);
    Draw();
    EXPECT_EQ(SlotPercents(), (std::vector<float>{66, 66, 66, 66}));
    EXPECT_EQ(graphs.BarSlots[0].Remain, 5000);
}

TEST_F(BarGraphTest, RemainLineBreaksOnPowerAndBridgesShortTimes) {
    SetWork("Remain", "1");
    WriteGraphedLog(
        {LogLine(At(9, 0), "Batt", "80%", "7200"),
         LogLine(At(9, 8), "Batt", "79%", "1800"), // half an hour: bridged
         LogLine(At(9, 16), "Batt", "78%", "7000"), LogLine(At(9, 24), "Power", "78%", "Charge"),
         LogLine(At(9, 32), "Batt", "77%", "6800"), LogLine(At(9, 40), "Batt", "76%", "6600")});
    now = At(9, 47);
    Draw();
    const auto yellow = monitor.LinesIn(kGraphYellow);
    ASSERT_EQ(yellow.size(), 2u);
    const double offset = 2 * 15;
    EXPECT_NEAR(yellow[0].from.x, 600 + offset, kTol);
    EXPECT_NEAR(yellow[0].to.x, 600 + 16 * 15 + offset, kTol);
    EXPECT_NEAR(yellow[0].from.y, 1632 - 12.72f * 2.0f * 10, kTol);
    EXPECT_NEAR(yellow[1].from.x, 600 + 32 * 15 + offset, kTol) << "a new piece after power";
    EXPECT_EQ(yellow[1].lineWidth, 5);
    const auto points = monitor.OpsOf(Kind::Point);
    ASSERT_EQ(points.size(), 4u) << "two pieces, two passes";
    EXPECT_EQ(points[0].lineWidth, 1);
    EXPECT_EQ(monitor.LinesIn(kGraphRed).back().lineWidth, 3);
}

TEST_F(BarGraphTest, NoRemainLineOnADayOnPower) {
    SetWork("Remain", "1");
    WriteGraphedLog({LogLine(At(9, 0), "Power", "100%", "Charge"),
                     LogLine(At(9, 30), "Power", "100%", "Charge")});
    now = At(10, 0);
    Draw();
    EXPECT_TRUE(monitor.LinesIn(kGraphYellow).empty());
    EXPECT_TRUE(monitor.OpsOf(Kind::Point).empty());
}

TEST_F(BarGraphTest, IsTodayFileComparesTheCaption) {
    window.lblTargetName = "20261206.txt";
    EXPECT_TRUE(IsTodayFile(window, At(23, 59, 59)));
    EXPECT_FALSE(IsTodayFile(window, At(0, 0).AddSeconds(86400)));
}

TEST_F(BarGraphTest, NonsenseSepAndLongSpansStillEnd) {
    WriteGraphedLog({"1/01 00:00:00,Batt,90%,3600,", "12/31 23:59:00,Batt,10%,3600,"});
    for (const char* sep : {"0", "-3", "1"}) {
        SetWork("SEP", sep);
        Draw();
        EXPECT_EQ(state.SepMinutes, 1);
        EXPECT_EQ(graphs.BarSlots.size(), 32767u) << "a 16-bit span of minutes";
    }
}

} // namespace
} // namespace amperlog::test
