#include "platform/windows/windows_battery_health.h"

#include <gtest/gtest.h>
#include <utility>

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
    const BatteryNames names{L"SMP", L"5B10W13975", L"1422", L"1"};
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
    EXPECT_EQ(reading->supply, "1");

    const std::optional<BatteryHealthReading> relative = DecodeBatteryHealth(
        Info(BATTERY_SYSTEM_BATTERY | BATTERY_CAPACITY_RELATIVE, 100, 87, 0), names);
    ASSERT_TRUE(relative);
    EXPECT_TRUE(relative->ratioOnly);
    EXPECT_DOUBLE_EQ(relative->fullWh / relative->designWh, 0.87);

    // A system battery whose capacities do not make sense is named, without figures.
    for (const auto& [design, full] :
         {std::pair<ULONG, ULONG>{0, 50000}, {40000, 61000}, {BATTERY_UNKNOWN_CAPACITY, 40000}}) {
        const std::optional<BatteryHealthReading> doubtful =
            DecodeBatteryHealth(Info(BATTERY_SYSTEM_BATTERY, design, full, 0), names);
        ASSERT_TRUE(doubtful);
        EXPECT_FALSE(IsPlausibleHealth(doubtful->designWh, doubtful->fullWh));
    }
}

// The count a driver does not know, and batteries that are not the machine's own (a UPS).
TEST(WindowsBatteryHealthTest, UnknownCountsAndOtherBatteries) {
    const BatteryNames names{L"APC", L"Back-UPS", L"", L"1"};
    const std::optional<BatteryHealthReading> unknown =
        DecodeBatteryHealth(Info(BATTERY_SYSTEM_BATTERY, 57000, 50160, 0xFFFFFFFF), names);
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->cycles, 0);
    EXPECT_FALSE(DecodeBatteryHealth(Info(0, 57000, 50160, 10), names));
    EXPECT_FALSE(DecodeBatteryHealth(
        Info(BATTERY_SYSTEM_BATTERY | BATTERY_IS_SHORT_TERM, 57000, 50160, 10), names));
}

// The energy now in mWh, none where the driver counts in a unit of its own or does not know.
TEST(WindowsBatteryHealthTest, DecodesTheEnergyHeldNow) {
    struct Case {
        ULONG capabilities;
        ULONG capacity;
        std::optional<double> wh;
    };
    const Case cases[] = {
        {BATTERY_SYSTEM_BATTERY, 41230, 41.23},
        {BATTERY_SYSTEM_BATTERY | BATTERY_CAPACITY_RELATIVE, 87, std::nullopt},
        {BATTERY_SYSTEM_BATTERY, BATTERY_UNKNOWN_CAPACITY, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.capacity);
        BATTERY_STATUS status{};
        status.Capacity = c.capacity;
        EXPECT_EQ(DecodeBatteryEnergy(Info(c.capabilities, 57000, 50160, 0), status), c.wh);
    }
}

// The machine's own batteries, if any, through the device interface: figures that make sense,
// or none; the energy now, looked at twice as each tick does, the same way.
TEST(WindowsBatteryHealthTest, MachineBatteriesReadPlausibly) {
    for (const BatteryHealthReading& reading : WindowsBatteryHealth().Read()) {
        EXPECT_TRUE(IsPlausibleHealth(reading.designWh, reading.fullWh) ||
                    (reading.designWh == 0 && reading.fullWh == 0))
            << reading.model;
    }
    WindowsBatteryHealth health;
    for (int look = 0; look < 2; ++look) {
        const std::optional<double> wh = health.EnergyNowWh();
        EXPECT_TRUE(!wh || *wh >= 0);
    }
}

} // namespace
} // namespace amperlog
