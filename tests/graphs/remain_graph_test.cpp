#include "graph_fixture.h"
#include "graphs/graph_primitives.h"
#include "graphs/remain_graph.h"

#include <gtest/gtest.h>

namespace amperlog::test {
namespace {

TEST(RemainGraph, PlausibleTimesDependOnTheScreenShape) {
    struct Case {
        double width;
        double height;
        float hours;
        bool drawn;
    } cases[] = {
        {1920, 1080, 0.99f, false}, {1920, 1080, 1.0f, true},   {1920, 1080, 9.99f, true},
        {1920, 1080, 10.0f, false}, {1024, 768, 24.9f, true},   {1024, 768, 25.0f, false},
        {1920, 1200, 24.9f, true},  {1920, 1200, 25.0f, false}, {1920, 0, 5.0f, true},
    };
    for (const auto& c : cases) {
        const FakeScreenMetrics screen(15, c.width * 15, c.height * 15);
        EXPECT_EQ(IsPlausibleRemain(c.hours, screen), c.drawn)
            << c.width << "x" << c.height << " " << c.hours << " h";
    }
}

class RemainSeriesTest : public GraphTest {
protected:
    void SetUp() override {
        state.GraphStartHour = At(9, 0);
        state.DaySamples.emplace();
    }
    void Add(CivilTime t, const char* power, const char* remain) {
        state.DaySamples->push_back({t, power, 50, remain, ""});
    }
};

TEST_F(RemainSeriesTest, PowerSplitsTheLineAndUnreadableTimesAreBridged) {
    Add(At(9, 0), "Batt", "7200");
    Add(At(9, 10), "Batt", "");
    Add(At(9, 20), "Batt", "Charge");
    Add(At(9, 30), "Batt", "3600");
    Add(At(9, 40), "Power", "7200");
    Add(At(9, 50), "Batt", "5400");
    Add(At(10, 0), "Batt", "5000");
    monitor.SetLineWidth(7);
    GraphInput in;
    in.samples = &*state.DaySamples;
    in.startHour = state.GraphStartHour;
    in.layoutUnit = 15;
    in.scale = 1;
    in.screenRatio = ScreenRatio(screen);
    DrawRemainSeries(in, monitor, kGraphRed, 3, 600, 12.72f, 1632);

    const auto points = monitor.OpsOf(DrawOp::Kind::Point);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].from, (PointF{600, 1632 - 2 * 10 * 12.72f}));
    EXPECT_EQ(points[0].lineWidth, 1);
    EXPECT_EQ(points[1].from.x, 600 + 50 * 15);
    const auto lines = monitor.OpsOf(DrawOp::Kind::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].from.x, 600);
    EXPECT_EQ(lines[0].to.x, 600 + 30 * 15);
    EXPECT_EQ(lines[0].lineWidth, 3);
    EXPECT_EQ(lines[1].to.x, 600 + 60 * 15);
    EXPECT_EQ(monitor.LineWidth(), 1);
}

} // namespace
} // namespace amperlog::test
