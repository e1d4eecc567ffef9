#include "graphs/usage_graph.h"
#include "recording_surface.h"
#include "texts/catalogue.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace amperlog {
namespace {

using test::DrawOp;
using test::RecordingSurface;

constexpr std::int64_t kFirst = 20750; // 2026-10-25, the day the clock goes back in Europe

// The bars of one day: the filled boxes whose middle is its centre, in drawing order.
std::vector<DrawOp> BoxesAt(const RecordingSurface& surface, double centre) {
    std::vector<DrawOp> boxes;
    for (const DrawOp& op : surface.OpsOf(DrawOp::Kind::Line)) {
        if (op.mode == BoxMode::Filled && std::abs((op.from.x + op.to.x) / 2 - centre) < 1 &&
            op.to.x - op.from.x > 100) {
            boxes.push_back(op);
        }
    }
    return boxes;
}

// A 25-hour day, an ordinary one, a day the program never ran and a 23-hour one.
const std::vector<UsageBar> kDays{
    {kFirst, 9 * 3600, 10 * 3600, 5 * 3600, 3600, 8.5, 4.3},
    {kFirst + 1, 3 * 3600 + 1800, 12 * 3600, 0, 8 * 3600 + 1800, 12.34, std::nullopt},
    {kFirst + 2, 0, 0, 0, 24 * 3600, std::nullopt, std::nullopt},
    {kFirst + 3, 0, 20 * 3600, 3 * 3600, 0, std::nullopt, std::nullopt},
};

TEST(UsageGraphTest, EachBarStacksItsPartsUpToTheDaysLength) {
    RecordingSurface surface(13500, 6900);
    const UsageGraphState state = DrawUsageGraph(surface, {kDays, {}});
    ASSERT_EQ(state.barCentres.size(), kDays.size());
    for (std::size_t d = 0; d < kDays.size(); ++d) {
        SCOPED_TRACE(d);
        const UsageBar& day = kDays[d];
        const std::int64_t parts[] = {day.batterySeconds, day.mainsSeconds, day.asleepSeconds,
                                      day.unseenSeconds};
        std::vector<Rgb> colours;
        std::int64_t total = 0;
        for (std::size_t p = 0; p < 4; ++p) {
            if (parts[p] > 0) {
                colours.push_back(kUsageColors[p]);
            }
            total += parts[p];
        }
        const std::vector<DrawOp> boxes = BoxesAt(surface, state.barCentres[d]);
        ASSERT_EQ(boxes.size(), colours.size());
        double bottom = state.baseline;
        for (std::size_t b = 0; b < boxes.size(); ++b) {
            EXPECT_EQ(boxes[b].color, colours[b]);
            EXPECT_DOUBLE_EQ(boxes[b].from.y, bottom);
            bottom = boxes[b].to.y;
        }
        EXPECT_NEAR(state.baseline - bottom, state.twipsPerHour * static_cast<double>(total) / 3600,
                    0.01);
    }
    // The 25-hour day fits under the top of the scale.
    EXPECT_TRUE(surface.FindPrint(FormatText(TextId::UsageHours, "24")));
    EXPECT_GT(state.baseline - 25 * state.twipsPerHour, 0);
}

// Each drain is printed under its own bar; a day without one shows nothing there.
TEST(UsageGraphTest, DrainPrintedUnderItsDayOnlyWhereKnown) {
    RecordingSurface surface(13500, 6900);
    const UsageGraphState state = DrawUsageGraph(surface, {kDays, {}});
    std::vector<std::vector<std::string>> under(kDays.size());
    const double slot = state.barCentres[1] - state.barCentres[0];
    for (const DrawOp& op : surface.OpsOf(DrawOp::Kind::Print)) {
        for (std::size_t d = 0; d < kDays.size(); ++d) {
            if (op.from.y > state.baseline + 200 &&
                std::abs(op.from.x - state.barCentres[d]) < slot / 2) {
                under[d].push_back(op.text);
            }
        }
    }
    const std::vector<std::vector<std::string>> expected{{"8.5", "4.3"}, {"12.3"}, {}, {}};
    EXPECT_EQ(under, expected);
}

} // namespace
} // namespace amperlog
