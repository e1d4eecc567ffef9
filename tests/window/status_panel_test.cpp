#include "graphs/battery_gauge.h"
#include "interface_language_scope.h"
#include "recording_surface.h"
#include "settings/settings_store.h"
#include "state/monitor_state.h"
#include "temp_folder.h"
#include "window/status_panel.h"
#include "window/window_model.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string_view>
#include <utility>

namespace amperlog {
namespace {

using test::DrawOp;
using test::RecordingSurface;

constexpr int kUnit = 15;

CivilTime At(int h, int mi, int s = 0) {
    return *CivilTime::FromParts(2026, 12, 7, h, mi, s);
}

struct RemainCase {
    const char* seconds;
    const char* shown;
};

class FormatRemainTimeTable : public ::testing::TestWithParam<RemainCase> {};

TEST_P(FormatRemainTimeTable, Formats) {
    EXPECT_EQ(FormatRemainTime(GetParam().seconds), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Seconds, FormatRemainTimeTable,
    ::testing::Values(RemainCase{"0", ""}, RemainCase{"", ""}, RemainCase{"Charge", ""},
                      RemainCase{"-60", ""}, RemainCase{"2700", "45"}, RemainCase{"5400", "1+30"},
                      RemainCase{"7500", "2+5"}, RemainCase{"3600", "1+0"},
                      // 1 h 59 m 30 s: the rounded 60 minutes carry into the hour.
                      RemainCase{"7170", "2+0"},
                      // Under an hour there is no hour to carry into.
                      RemainCase{"3570", "60"},
                      // Minutes round halves to even: 1.5 gives 2, 2.5 gives 2.
                      RemainCase{"90", "2"}, RemainCase{"150", "2"}, RemainCase{"3689.6", "1+2"},
                      RemainCase{"3630", "1+0"}, RemainCase{"1e300", ""}));

class StatusPanelTest : public ::testing::Test {
protected:
    StatusPanelTest() : settings(folder / "amperlog.ini", nullptr), battery(432, 372, kUnit) {
        state.LayoutUnit = kUnit;
        state.PowerText = "Batt";
        state.PercentText = "85%";
        state.RemainText = "5400";
    }
    void Show() { DispPanel(state, model, settings, battery, At(12, 0)); }

    test::TempFolder folder;
    SettingsStore settings;
    MonitorState state;
    MainWindowModel model;
    RecordingSurface battery;
};

struct ChargeCase {
    const char* percentText;
    const char* shown;
    Rgb color;
};

class ChargeColourTable : public ::testing::TestWithParam<ChargeCase> {};

TEST_P(ChargeColourTable, YellowAtTheLimitsAndBeyond) {
    test::TempFolder folder;
    SettingsStore settings(folder / "amperlog.ini", nullptr);
    MonitorState state;
    state.PercentText = GetParam().percentText;
    MainWindowModel model;
    RecordingSurface battery;
    DispPanel(state, model, settings, battery, At(12, 0));
    EXPECT_EQ(model.lblBattPercent, GetParam().shown);
    EXPECT_EQ(model.lblBattPercentColor, GetParam().color);
}

INSTANTIATE_TEST_SUITE_P(
    Charges, ChargeColourTable,
    ::testing::Values(ChargeCase{"20%", "20", kYellow}, ChargeCase{"21%", "21", kWhite},
                      ChargeCase{"79%", "79", kWhite}, ChargeCase{"80%", "80", kYellow},
                      ChargeCase{"100%", "100", kYellow}, ChargeCase{"0%", "0", kYellow},
                      ChargeCase{"   ", "0", kYellow}));

TEST_F(StatusPanelTest, OnBatteryShowsRemainingTimeAndUnpluggedAdapter) {
    Show();
    EXPECT_EQ(model.lblRemain, "残時間  1+30");
    EXPECT_EQ(model.imgConsent, Face::AdapterOff);
    state.RemainText = "2700";
    Show();
    EXPECT_EQ(model.lblRemain, "残時間  45");
    state.RemainText = "7170";
    Show();
    EXPECT_EQ(model.lblRemain, "残時間  2+0");
}

TEST_F(StatusPanelTest, UnknownRemainingTimeOnBatteryShowsCharge) {
    for (const char* remain : {"", "Charge"}) {
        state.RemainText = remain;
        Show();
        EXPECT_EQ(model.lblRemain, "残時間  Charge") << remain;
    }
}

// The remaining time where it is unknown: Japanese says "Charge" everywhere, English says
// "Charging" only while the battery charges and a dash otherwise.
struct UnknownRemainCase {
    const char* power;
    const char* battery;
    const char* remain;
    const char* japanese;
    const char* english;
};

void PrintTo(const UnknownRemainCase& c, std::ostream* os) {
    *os << c.power << " " << c.battery << " " << c.remain;
}

class UnknownRemainTable : public ::testing::TestWithParam<UnknownRemainCase> {};

TEST_P(UnknownRemainTable, SaysChargingOnlyWhileCharging) {
    const UnknownRemainCase& c = GetParam();
    test::TempFolder folder;
    SettingsStore settings(folder / "amperlog.ini", nullptr);
    MonitorState state;
    state.PowerText = c.power;
    state.BatteryStatusText = c.battery;
    state.RemainText = c.remain;
    state.PercentText = c.battery == std::string_view("No batt") ? "   " : "85%";
    MainWindowModel model;
    RecordingSurface battery;
    for (const auto& [language, shown] :
         {std::pair{Language::Japanese, c.japanese}, std::pair{Language::English, c.english}}) {
        const test::InterfaceLanguageScope scope(language);
        DispPanel(state, model, settings, battery, At(12, 0));
        EXPECT_EQ(model.lblRemain, shown);
    }
}

INSTANTIATE_TEST_SUITE_P(
    States, UnknownRemainTable,
    ::testing::Values(
        UnknownRemainCase{"Power", "Charge", "Charge", "残時間  Charge", "Left  Charging"},
        UnknownRemainCase{"Power", "Charge", "3600", "残時間  Charge", "Left  Charging"},
        // Full on mains, and a desktop without a battery.
        UnknownRemainCase{"Power", "66%+", "Charge", "残時間  Charge", "Left  —"},
        UnknownRemainCase{"Power", "No batt", "Charge", "残時間  Charge", "Left  —"},
        // Just unplugged, or a battery that gives no power figure.
        UnknownRemainCase{"Batt", "66%+", "", "残時間  Charge", "Left  —"},
        UnknownRemainCase{"Batt", "", "Charge", "残時間  Charge", "Left  —"},
        UnknownRemainCase{"Batt", "66%+", "5400", "残時間  1+30", "Left  1+30"}));

TEST_F(StatusPanelTest, OnMainsShowsChargeConnectAndTheAdapter) {
    state.PowerText = "Power";
    state.DaySamples.emplace();
    Show();
    EXPECT_EQ(model.lblRemain, "残時間  Charge");
    EXPECT_EQ(model.lblRate, "変化率  Connect ");
    EXPECT_EQ(model.imgConsent, Face::Adapter);
}

TEST_F(StatusPanelTest, RateStaysUntilALogHasBeenLoaded) {
    model.lblRate = "before";
    Show();
    EXPECT_EQ(model.lblRate, "before");
    EXPECT_EQ(state.RateBand, 0);
}

TEST_F(StatusPanelTest, TooFewSamplesGiveZeroPercent) {
    state.DaySamples.emplace(3, DaySample{At(11, 0), "Batt", 90, "", ""});
    Show();
    EXPECT_EQ(model.lblRate, "変化率  0%");
    EXPECT_EQ(state.RateBand, 5);
}

TEST_F(StatusPanelTest, RateInPercentAnHourFromTheBandsOldestSample) {
    // Band 5: the oldest of the newest five samples, 92 % an hour ago; now 80 %.
    std::vector<DaySample> samples(6, DaySample{At(11, 30), "Batt", 85, "", ""});
    samples[1] = DaySample{At(11, 0), "Batt", 92, "", ""};
    state.DaySamples = samples;
    state.PercentText = "80%";
    Show();
    EXPECT_EQ(model.lblRate, "変化率  -12%");

    // Band 2 from the settings file: 85 % half an hour ago gives -10 % an hour.
    settings.WriteWorkSetting("Band", "2");
    Show();
    EXPECT_EQ(state.RateBand, 2);
    EXPECT_EQ(model.lblRate, "変化率  -10%");
}

TEST_F(StatusPanelTest, SmallNegativeRateShowsZeroWithoutSign) {
    std::vector<DaySample> samples(6, DaySample{At(2, 0), "Batt", 81, "", ""});
    state.DaySamples = samples;
    state.PercentText = "80%"; // -0.1 % an hour
    Show();
    EXPECT_EQ(model.lblRate, "変化率  0%");
}

TEST_F(StatusPanelTest, VoiceFaceFollowsTheSetting) {
    Show();
    EXPECT_EQ(model.imgVoice, Face::VoiceOff);
    settings.WriteWorkSetting("Voice", "1");
    Show();
    EXPECT_EQ(model.imgVoice, Face::VoiceOn);
    settings.WriteWorkSetting("Voice", "2");
    Show();
    EXPECT_EQ(model.imgVoice, Face::VoiceOff);
}

TEST_F(StatusPanelTest, DrawsTheGaugeAndKeepsItsSizeInTheLayout) {
    Show();
    EXPECT_EQ(battery.OpsOf(DrawOp::Kind::Line).size(), 3U);
    EXPECT_EQ(model.geometry.picBattery.width, 32 * kUnit);
    EXPECT_EQ(model.geometry.picBattery.height, 32 * kUnit);
}

struct GaugeCase {
    float percent;
    Rgb color;
    double levelEnd; // 45 + 15 twips for each 0.2 × percent pixels
};

class GaugeTable : public ::testing::TestWithParam<GaugeCase> {};

TEST_P(GaugeTable, DrawsOutlineNubAndLevel) {
    const GaugeCase& c = GetParam();
    RecordingSurface surface(432, 372, kUnit);
    DrawBatteryGauge(surface, c.percent, kUnit);

    const std::vector<DrawOp>& ops = surface.Ops();
    ASSERT_GE(ops.size(), 2U);
    EXPECT_EQ(ops[0].kind, DrawOp::Kind::Clear);
    EXPECT_EQ(ops[0].color, kBlack);
    EXPECT_EQ(surface.BackColor(), kBlack);
    EXPECT_EQ(surface.Width(), 480);
    EXPECT_EQ(surface.Height(), 480);

    const std::vector<DrawOp> lines = surface.OpsOf(DrawOp::Kind::Line);
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_EQ(lines[0].mode, BoxMode::Outline);
    EXPECT_EQ(lines[0].from, (PointF{0, 120}));
    EXPECT_EQ(lines[0].to, (PointF{390, 330}));
    EXPECT_EQ(lines[0].color, kButtonFace);
    EXPECT_EQ(lines[1].mode, BoxMode::Filled);
    EXPECT_EQ(lines[1].from, (PointF{435, 180}));
    EXPECT_EQ(lines[1].to, (PointF{480, 270}));
    EXPECT_EQ(lines[1].color, kButtonFace);
    EXPECT_EQ(lines[2].mode, BoxMode::Filled);
    EXPECT_EQ(lines[2].from, (PointF{45, 165}));
    EXPECT_NEAR(lines[2].to.x, c.levelEnd, 1e-3);
    EXPECT_EQ(lines[2].to.y, 285);
    EXPECT_EQ(lines[2].color, c.color);

    EXPECT_EQ(ops.back().kind, DrawOp::Kind::SetVisible);
    EXPECT_TRUE(ops.back().visible);
}

INSTANTIATE_TEST_SUITE_P(
    Percentages, GaugeTable,
    ::testing::Values(GaugeCase{0, kGaugeRed, 45}, GaugeCase{20, kGaugeRed, 105},
                      GaugeCase{20.5F, kGaugeAmber, 106.5}, GaugeCase{30, kGaugeAmber, 135},
                      GaugeCase{30.5F, kGaugeGreen, 136.5}, GaugeCase{79.9F, kGaugeGreen, 284.7},
                      GaugeCase{80, kGaugeAmber, 285}, GaugeCase{99.9F, kGaugeAmber, 344.7},
                      GaugeCase{100, kGaugeRed, 345}, GaugeCase{120, kGaugeAmber, 405}));

TEST(Gauge, FullBatteryFillsTwentyPixelsAndMoreRunsPastTheBody) {
    RecordingSurface surface(432, 372, kUnit);
    DrawBatteryGauge(surface, 100, kUnit);
    EXPECT_EQ(surface.OpsOf(DrawOp::Kind::Line)[2].to.x - 45, 20 * kUnit);
    DrawBatteryGauge(surface, 120, kUnit);
    EXPECT_GT(surface.OpsOf(DrawOp::Kind::Line)[2].to.x, 26 * kUnit);
}

TEST(Gauge, RedrawLeavesNoTraceOfTheLongerBar) {
    RecordingSurface surface(432, 372, kUnit);
    DrawBatteryGauge(surface, 100, kUnit);
    DrawBatteryGauge(surface, 20, kUnit);
    // The recording forgets what a clear erased: only the second picture remains.
    EXPECT_EQ(surface.Count(DrawOp::Kind::Clear), 1U);
    const std::vector<DrawOp> lines = surface.OpsOf(DrawOp::Kind::Line);
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_EQ(lines[2].to.x, 45 + 4 * kUnit);
}

} // namespace
} // namespace amperlog
