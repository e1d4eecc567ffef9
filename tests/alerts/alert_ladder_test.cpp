#include "alerts/alert_ladder.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace amperlog {

// Found by the test's messages next to Alert itself.
void PrintTo(Alert alert, std::ostream* os);
void PrintTo(Alert alert, std::ostream* os) {
    constexpr const char* kNames[] = {"None", "Low", "Critical", "Charged"};
    *os << kNames[static_cast<int>(alert)];
}

namespace {

constexpr PowerStatus Battery(int percent) {
    return {kAcOffline, kBatteryLow, static_cast<std::uint8_t>(percent), 3600, 10800};
}
constexpr PowerStatus Mains(int percent) {
    return {kAcOnline, kBatteryCharging, static_cast<std::uint8_t>(percent), -1, 10800};
}
constexpr PowerStatus kUnknownCharge{kAcOffline, kBatteryUnknown, kPercentUnknown, -1, -1};
constexpr PowerStatus kNoBattery{kAcOnline, kBatteryNone, kPercentUnknown, -1, -1};
// A desktop whose supply reports a charge but says it has no battery.
constexpr PowerStatus kNoBatteryWithCharge{kAcOffline, kBatteryNone, 5, -1, -1};
constexpr PowerStatus kUnknownAdapter{kAcUnknown, kBatteryLow, 5, -1, -1};

constexpr AlertThresholds kLimits{20, 10, 80, 5};
constexpr AlertThresholds kOnceNoCharged{20, 10, 0, 0};

struct Step {
    PowerStatus status;
    Alert expected;
    // Seconds on the clock since the step before.
    std::int64_t later = 1;
};

struct LadderCase {
    const char* name;
    AlertThresholds limits;
    std::vector<Step> steps;
};

void PrintTo(const LadderCase& c, std::ostream* os) {
    *os << c.name;
}

class AlertLadderTest : public ::testing::TestWithParam<LadderCase> {};

TEST_P(AlertLadderTest, FiresOncePerCrossing) {
    AlertLadder ladder;
    CivilTime now = *CivilTime::FromParts(2026, 12, 7, 9, 0, 0);
    for (std::size_t i = 0; i < GetParam().steps.size(); ++i) {
        const Step& step = GetParam().steps[i];
        now = now.AddSeconds(step.later);
        SCOPED_TRACE("step " + std::to_string(i));
        EXPECT_EQ(ladder.Update(step.status, GetParam().limits, now), step.expected);
    }
}

using A = Alert;

INSTANTIATE_TEST_SUITE_P(
    Ladder, AlertLadderTest,
    ::testing::Values(
        LadderCase{"falling past low then critical",
                   kLimits,
                   {{Battery(25), A::None},
                    {Battery(19), A::Low},
                    {Battery(15), A::None},
                    {Battery(9), A::Critical},
                    {Battery(8), A::None}}},
        LadderCase{"a fall straight past low says only critical",
                   kLimits,
                   {{Battery(25), A::None}, {Battery(9), A::Critical}, {Battery(11), A::None}}},
        LadderCase{"a gauge flickering at low is armed again 2 points back",
                   kLimits,
                   {{Battery(20), A::Low},
                    {Battery(21), A::None},
                    {Battery(20), A::None},
                    {Battery(21), A::None},
                    {Battery(22), A::None},
                    {Battery(20), A::Low}}},
        LadderCase{"critical again 2 points back",
                   kLimits,
                   {{Battery(10), A::Critical},
                    {Battery(11), A::None},
                    {Battery(10), A::None},
                    {Battery(12), A::None},
                    {Battery(10), A::Critical}}},
        LadderCase{"critical repeats every Repeat minutes while it lasts",
                   kLimits,
                   {{Battery(9), A::Critical},
                    {Battery(9), A::None, 299},
                    {Battery(8), A::Critical, 1},
                    {Battery(8), A::None, 299},
                    {Battery(8), A::Critical, 1},
                    {Battery(8), A::Critical, 3600}}},
        LadderCase{"Repeat 0 says critical once",
                   kOnceNoCharged,
                   {{Battery(9), A::Critical}, {Battery(9), A::None, 3600}}},
        LadderCase{"a clock set back does not hold the repeat off",
                   kLimits,
                   {{Battery(9), A::Critical},
                    {Battery(9), A::None, -3600},
                    {Battery(9), A::None, 299},
                    {Battery(9), A::Critical, 1}}},
        LadderCase{"mains stops the repeat and unplugging re-arms",
                   kLimits,
                   {{Battery(9), A::Critical},
                    {Mains(9), A::None, 600},
                    {Mains(9), A::None, 600},
                    {Battery(9), A::Critical},
                    {Battery(19), A::None}}},
        LadderCase{"an adapter change re-arms low",
                   kLimits,
                   {{Battery(19), A::Low}, {Mains(19), A::None}, {Battery(19), A::Low}}},
        LadderCase{"charged once on mains and again 2 points back",
                   kLimits,
                   {{Mains(79), A::None},
                    {Mains(80), A::Charged},
                    {Mains(81), A::None},
                    {Mains(79), A::None},
                    {Mains(80), A::None},
                    {Mains(78), A::None},
                    {Mains(80), A::Charged},
                    {Battery(85), A::None},
                    {Mains(85), A::None}}},
        LadderCase{"plugging in or starting above charged says nothing, a rise on mains does",
                   kLimits,
                   {{Mains(85), A::None},
                    {Battery(85), A::None},
                    {Battery(70), A::None},
                    {Mains(85), A::None},
                    {Battery(70), A::None},
                    {Mains(70), A::None},
                    {Mains(80), A::Charged}}},
        LadderCase{"Low 99 is armed again at 100",
                   {99, 10, 0, 0},
                   {{Battery(99), A::Low}, {Battery(100), A::None}, {Battery(99), A::Low}}},
        LadderCase{"Charged 1 is armed again at 0",
                   {20, 10, 1, 0},
                   {{Mains(0), A::None},
                    {Mains(1), A::Charged},
                    {Mains(0), A::None},
                    {Mains(1), A::Charged}}},
        LadderCase{"Charged 0 never says charged", kOnceNoCharged, {{Mains(100), A::None}}},
        LadderCase{"a start below low on battery alerts at the first tick",
                   kLimits,
                   {{Battery(15), A::Low}, {Battery(15), A::None}}},
        LadderCase{"no battery or an unknown charge or adapter never alert",
                   kLimits,
                   {{kNoBattery, A::None},
                    {kNoBatteryWithCharge, A::None},
                    {kUnknownCharge, A::None},
                    {kUnknownAdapter, A::None}}},
        LadderCase{"an unknown reading between two is no adapter change",
                   kLimits,
                   {{Battery(19), A::Low}, {kUnknownAdapter, A::None}, {Battery(19), A::None}}}));

} // namespace
} // namespace amperlog
