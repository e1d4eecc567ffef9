#include "graphs/health_graph.h"
#include "recording_surface.h"

#include <gtest/gtest.h>

namespace amperlog {
namespace {

using test::DrawOp;
using test::RecordingSurface;

constexpr std::int64_t kFirst = 20400; // 2025-11-08

// A year of one battery falling below the scale, and a second battery's last month.
HealthGraphInput YearOfTwoBatteries() {
    HealthGraphInput input;
    input.series.resize(2);
    for (int d = 0; d <= 365; ++d) {
        input.series[0].push_back({kFirst + d, 60 - d / 30.0});
    }
    for (int d = 335; d <= 365; ++d) {
        input.series[1].push_back({kFirst + d, 98});
    }
    input.captions = {{"Today"}, {"Wear 1.4 % per 100 days", 0}};
    return input;
}

TEST(HealthGraphTest, EachBatteryALineInsideTheScaleOverTheWholeSpan) {
    RecordingSurface surface(9000, 5000);
    const HealthGraphState state = DrawHealthGraph(surface, YearOfTwoBatteries());
    EXPECT_EQ(state.firstDay, kFirst);
    EXPECT_EQ(state.lastDay, kFirst + 365);
    EXPECT_EQ(state.linesDrawn, 2U);

    const std::vector<DrawOp> worn = surface.LinesIn(HealthSeriesColor(0));
    const std::vector<DrawOp> fresh = surface.LinesIn(HealthSeriesColor(1));
    ASSERT_EQ(worn.size(), 365U);
    ASSERT_EQ(fresh.size(), 30U);
    // Both end on the same day, at the right edge; the worn one starts at the left edge.
    EXPECT_DOUBLE_EQ(worn.back().to.x, fresh.back().to.x);
    EXPECT_LT(worn.front().from.x, fresh.front().from.x);
    // Below 50 % the line rests on the bottom of the scale, above the date labels.
    const std::optional<DrawOp> lowest = surface.FindPrint("  50%");
    ASSERT_TRUE(lowest);
    for (const DrawOp& op : worn) {
        EXPECT_LE(op.to.y, lowest->from.y + 270);
    }
    EXPECT_TRUE(surface.FindPrint("2025/11/08"));
    EXPECT_TRUE(surface.FindPrint("2026/11/08"));
    // The trend names its battery by the line's colour.
    const std::optional<DrawOp> trend = surface.FindPrint("Wear 1.4 % per 100 days");
    ASSERT_TRUE(trend);
    EXPECT_EQ(trend->color, HealthSeriesColor(0));
}

} // namespace
} // namespace amperlog
