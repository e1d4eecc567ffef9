#include "graph_fixture.h"
#include "graphs/change_rate_graph.h"
#include "graphs/graph_primitives.h"

#include <gtest/gtest.h>

namespace amperlog::test {
namespace {

constexpr double kTol = 1e-3;
using Kind = DrawOp::Kind;

class ChangeRateTest : public GraphTest {
protected:
    void SetUp() override {
        state.GraphStartHour = At(9, 0);
        state.DaySamples.emplace();
    }
    void Add(CivilTime t, float percent, const char* power = "Batt") {
        state.DaySamples->push_back({t, power, percent, "3600", ""});
    }
    void Refresh() {
        GraphContext ctx = Context();
        RefreshChangeRate(ctx);
    }
    std::string Readout(double x) { return RateReadout(Context(), x); }
};

TEST_F(ChangeRateTest, RatesBeyond120AreZero) {
    struct Case {
        float to;
        float rate;
    } cases[] = {{170, 120}, {-70, -120}, {170.5f, 0}, {-70.5f, 0}, {60, 10}};
    for (const auto& c : cases) {
        const std::vector<DaySample> samples{{At(9, 0), "Batt", 50, "", ""},
                                             {At(10, 0), "Batt", c.to, "", ""}};
        EXPECT_FLOAT_EQ(RateAt(samples, 0, 1), c.rate) << c.to;
    }
    const std::vector<DaySample> sameTime{{At(9, 0), "Batt", 50, "", ""},
                                          {At(9, 0), "Batt", 60, "", ""}};
    EXPECT_FLOAT_EQ(RateAt(sameTime, 0, 1), 0);
}

TEST_F(ChangeRateTest, BandDefaultsToThreeAndFollowsTheSetting) {
    for (int i = 0; i < 8; ++i) {
        Add(At(9, i * 10), 90.0f - static_cast<float>(i));
    }
    Refresh();
    EXPECT_EQ(state.RateBand, 3);
    EXPECT_EQ(graphs.RateSamples.size(), 8u - 3u);
    EXPECT_FLOAT_EQ(graphs.RateSamples[0].PercentPerHour, -6);
    SetWork("Band", "5");
    Refresh();
    EXPECT_EQ(state.RateBand, 5);
    EXPECT_EQ(graphs.RateSamples.size(), 8u - 5u);
    for (const char* band : {"0", "-2", "99"}) {
        SetWork("Band", band);
        Refresh();
        EXPECT_GE(state.RateBand, 1) << band;
        EXPECT_LE(state.RateBand, 10) << band;
    }
}

TEST_F(ChangeRateTest, ExtremeRatesArePlottedAndBeyondThemZero) {
    // Band 1: the sample at 9:30 climbs 60 % in half an hour (120), then 60.25 (120.5).
    SetWork("Band", "1");
    Add(At(9, 0), 10);
    Add(At(9, 30), 20);
    Add(At(10, 0), 80);
    Add(At(10, 30), 140.25f);
    Add(At(11, 0), 150);
    Add(At(11, 30), 160);
    Refresh();
    // 1200 twips high: zero at 600, (1200 - 120 - 120) / 400 twips a percent an hour.
    EXPECT_EQ(graphs.RateMidY, 600);
    EXPECT_NEAR(graphs.RateScaleY, 2.4, kTol);
    const auto lines = rate.OpsOf(Kind::Line);
    ASSERT_EQ(lines.size(), 1u + 4u); // the zero line and four segments
    EXPECT_NEAR(lines[0].from.x, 600, kTol);
    EXPECT_NEAR(lines[0].to.x, 23640, kTol);
    EXPECT_EQ(lines[0].color, kButtonShadow);
    const auto point = rate.OpsOf(Kind::Point).at(0);
    EXPECT_NEAR(point.from.x, 1050, kTol); // 30 minutes right of the margin
    EXPECT_NEAR(point.from.y, 312, kTol);  // 120 an hour, 288 twips above the zero line
    EXPECT_NEAR(lines[1].to.y, 600, kTol) << "120.5 is plotted as 0";
    EXPECT_EQ(lines[1].color, kButtonFace) << "battery and not rising";
    EXPECT_EQ(rate.Texts(), (std::vector<std::string>{"120", "0"}));
    const auto highest = rate.FindPrint("120");
    EXPECT_NEAR(highest->from.y, 72, kTol);
}

TEST_F(ChangeRateTest, AFallOnPowerIsGreen) {
    SetWork("Band", "1");
    Add(At(9, 0), 80, "Power");
    Add(At(9, 30), 70, "Power");
    Add(At(10, 0), 60, "Power");
    Add(At(10, 30), 50, "Batt");
    Add(At(11, 0), 40, "Batt");
    Refresh();
    const auto lines = rate.OpsOf(Kind::Line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1].color, kGraphGreen);
    EXPECT_NEAR(lines[1].to.y, 648, kTol); // -20 an hour
    EXPECT_EQ(lines[2].color, kButtonFace);
}

TEST_F(ChangeRateTest, RepeatedPointsOfOneMinuteAreDrawnOnce) {
    SetWork("Band", "1");
    Add(At(9, 0), 80);
    for (int s = 0; s < 40; s += 10) {
        Add(At(9, 30, s), 70);
    }
    for (int m : {60, 90, 120, 150}) {
        Add(At(9, 0).AddSeconds(m * 60), 60.0f - static_cast<float>(m - 60) / 3);
    }
    Refresh();
    const auto lines = rate.OpsOf(Kind::Line);
    // The zero line; one segment of no length at 9:30, its repeat left out; the drop from
    // 9:30:30 and the four later samples.
    ASSERT_EQ(lines.size(), 1u + 1u + 5u);
    EXPECT_EQ(lines[1].from, lines[1].to);
    // 10 % in 29.5 minutes: -20.339 an hour, 48.814 twips under the zero line.
    EXPECT_NEAR(lines[2].to.y, 648.814, kTol);
}

TEST_F(ChangeRateTest, WideBandPlotsEverythingOnTheZeroLine) {
    Add(At(9, 0), 80);
    Add(At(9, 10), 70);
    Add(At(9, 20), 60);
    Refresh();
    ASSERT_EQ(graphs.RateSamples.size(), 1u);
    EXPECT_FLOAT_EQ(graphs.RateSamples[0].PercentPerHour, 0);
    const auto first = rate.OpsOf(Kind::Point).at(0);
    const auto lowest = rate.OpsOf(Kind::Print).at(1);
    EXPECT_EQ(lowest.text, "0");
    EXPECT_NEAR(lowest.from.x, first.from.x, kTol);
    EXPECT_NEAR(lowest.from.y, first.from.y + 60, kTol);
    const auto highest = rate.OpsOf(Kind::Print).at(0);
    EXPECT_EQ(highest.from, (PointF{0, -240}));
}

TEST_F(ChangeRateTest, FewerThanTwoSamplesShowOnlyTheZeroLine) {
    Add(At(9, 0), 80);
    Refresh();
    EXPECT_EQ(rate.Ops().front().kind, Kind::Clear);
    EXPECT_EQ(rate.OpsOf(Kind::Line).size(), 1u);
    EXPECT_EQ(rate.Count(Kind::Point), 0u);
}

TEST_F(ChangeRateTest, Readout) {
    SetWork("Band", "1");
    Add(At(9, 0), 80);
    Add(At(9, 30), 79);
    Add(At(10, 0), 77);
    Add(At(11, 0), 70);
    Refresh();
    now = At(12, 0);
    state.SepMinutes = 8;
    const auto x = [](int minutes) {
        return 600.0 + minutes * 15;
    };
    EXPECT_EQ(Readout(x(0)), "09:00   -4") << "the entry after the one found";
    EXPECT_EQ(Readout(x(-7) - 1), "") << "left of the margin";
    EXPECT_EQ(Readout(x(10)), "09:10   ") << "no entry within 8 minutes";
    EXPECT_EQ(Readout(x(30)), "09:30   -7");
    EXPECT_EQ(Readout(x(60)), "") << "the last entry has none after it";
    EXPECT_EQ(Readout(x(181)), "") << "in the future";
}

} // namespace
} // namespace amperlog::test
