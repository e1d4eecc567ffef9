#include "graphs/health_graph.h"
#include "recording_surface.h"
#include "texts/catalogue.h"

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
    input.captions = {{"Today"}, {"Wear 1.4 % per 100 days", 0}, {"Trend after 30 days", 1}};
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
    EXPECT_TRUE(surface.FindPrint("2025/11/08"));
    EXPECT_TRUE(surface.FindPrint("2026/11/08"));
    // The trend names its battery by the line's colour.
    const std::optional<DrawOp> trend = surface.FindPrint("Wear 1.4 % per 100 days");
    ASSERT_TRUE(trend);
    EXPECT_EQ(trend->color, HealthSeriesColor(0));
}

// A battery long gone, that no caption names, takes no colour of a named one.
TEST(HealthGraphTest, UnnamedBatteryIsDrawnDim) {
    HealthGraphInput input = YearOfTwoBatteries();
    input.series.insert(input.series.begin(), {{kFirst - 400, 90}, {kFirst - 300, 89}});
    for (HealthCaption& caption : input.captions) {
        caption.series += caption.series >= 0 ? 1 : 0;
    }
    RecordingSurface surface(9000, 5000);
    DrawHealthGraph(surface, input);
    EXPECT_EQ(surface.LinesIn(kHealthGraphUnnamed).size(), 1U);
    EXPECT_EQ(surface.LinesIn(HealthSeriesColor(0)).size(), 365U);
    EXPECT_EQ(surface.LinesIn(HealthSeriesColor(1)).size(), 30U);
}

// Nothing in the diary yet: a sentence, not an axis from 1970.
TEST(HealthGraphTest, EmptyDiarySaysThereAreNoReadingsYet) {
    RecordingSurface surface(10800, 6300);
    HealthGraphInput input;
    input.captions = {{"No battery capacity to read"}};
    DrawHealthGraph(surface, input);
    EXPECT_TRUE(surface.FindPrint(std::string(Text(TextId::HealthNoDiary))));
    EXPECT_TRUE(surface.FindPrint("No battery capacity to read"));
    EXPECT_FALSE(surface.FindPrint("1970/01/01"));
    EXPECT_FALSE(surface.FindPrint(" 100%"));
}

// Packs of 32 % and 47.8 %: the scale reaches down to them in 10 % steps, the line inside it.
TEST(HealthGraphTest, PackBelowHalfExtendsTheScaleDown) {
    struct Case {
        double lowest;
        double low;
        const char* bottom;
        const char* below;
    };
    for (const Case& c : {Case{32, 30, "  30%", "  20%"}, Case{47.8, 40, "  40%", "  30%"}}) {
        SCOPED_TRACE(c.lowest);
        RecordingSurface surface(10800, 6300);
        HealthGraphInput input;
        input.series = {{{kFirst, c.lowest + 3}, {kFirst + 60, c.lowest}}};
        DrawHealthGraph(surface, input);
        const std::optional<DrawOp> bottom = surface.FindPrint(c.bottom);
        const std::optional<DrawOp> top = surface.FindPrint(" 100%");
        ASSERT_TRUE(bottom);
        ASSERT_TRUE(top);
        EXPECT_FALSE(surface.FindPrint(c.below));
        const std::vector<DrawOp> line = surface.LinesIn(HealthSeriesColor(0));
        ASSERT_EQ(line.size(), 1U);
        // A label is printed half a line above its grid line.
        const double yLow = bottom->from.y + 135;
        const double height = yLow - (top->from.y + 135);
        EXPECT_NEAR(line[0].to.y, yLow - height * (c.lowest - c.low) / (100 - c.low), 1);
    }
}

} // namespace
} // namespace amperlog
