#include "platform/windows/windows_battery_health.h"

#include <gtest/gtest.h>

namespace amperlog {
namespace {

BATTERY_INFORMATION Info(ULONG capabilities, ULONG design, ULONG full, ULONG cycles) {
    BATTERY_INFORMATION info{};
    info.Capabilities = capabilities;
    info.DesignedCapacity = design;
    info.FullChargedCapacity = full;
    info.CycleCount = cycles;
    return info;
}

// Answers as drivers give them: mWh, a relative gauge, and the ones to leave out.
TEST(WindowsBatteryHealthTest, DecodesTheDriversAnswer) {
    const BatteryNames names{L"SMP", L"5B10W13975", L"1422"};
    const std::optional<BatteryHealthReading> reading =
        DecodeBatteryHealth(Info(BATTERY_SYSTEM_BATTERY, 57000, 50160, 211), names);
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->manufacturer, "SMP");
    EXPECT_EQ(reading->model, "5B10W13975");
    EXPECT_EQ(reading->serial, "1422");
    EXPECT_DOUBLE_EQ(reading->designWh, 57.0);
    EXPECT_DOUBLE_EQ(reading->fullWh, 50.16);
    EXPECT_EQ(reading->cycles, 211);
    EXPECT_FALSE(reading->ratioOnly);

    const std::optional<BatteryHealthReading> relative = DecodeBatteryHealth(
        Info(BATTERY_SYSTEM_BATTERY | BATTERY_CAPACITY_RELATIVE, 100, 87, 0), names);
    ASSERT_TRUE(relative);
    EXPECT_TRUE(relative->ratioOnly);
    EXPECT_DOUBLE_EQ(relative->fullWh / relative->designWh, 0.87);

    EXPECT_FALSE(DecodeBatteryHealth(Info(0, 0, 50000, 0), names));
    EXPECT_FALSE(DecodeBatteryHealth(Info(0, 40000, 61000, 0), names));
    EXPECT_FALSE(DecodeBatteryHealth(Info(0, BATTERY_UNKNOWN_CAPACITY, 40000, 0), names));
}

// The machine's own batteries, if any, through the device interface.
TEST(WindowsBatteryHealthTest, MachineBatteriesReadPlausibly) {
    for (const BatteryHealthReading& reading : WindowsBatteryHealth().Read()) {
        EXPECT_TRUE(IsPlausibleHealth(reading.designWh, reading.fullWh)) << reading.model;
    }
}

} // namespace
} // namespace amperlog
