#include "platform/linux/sysfs_battery_health.h"
#include "temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace amperlog {
namespace {

namespace fs = std::filesystem;
using Attributes = std::vector<std::pair<std::string, std::string>>;

// A saved laptop: an energy battery, a charge battery with no cycle count, a mouse.
TEST(SysfsBatteryHealthTest, SavedTreeReadsBothBatteriesAndNotTheMouse) {
    SysfsBatteryHealth source(AMPERLOG_TEST_DATA_DIR "/sysfs-health");
    const std::vector<BatteryHealthReading> readings = source.Read();
    ASSERT_EQ(readings.size(), 2U);
    EXPECT_EQ(readings[0].manufacturer, "SMP");
    EXPECT_EQ(readings[0].model, "01AV421");
    EXPECT_EQ(readings[0].serial, "1422");
    EXPECT_DOUBLE_EQ(readings[0].designWh, 24.05);
    EXPECT_DOUBLE_EQ(readings[0].fullWh, 20.17);
    EXPECT_EQ(readings[0].cycles, 317);
    EXPECT_FALSE(readings[0].ratioOnly);
    // µAh at the design's minimum voltage.
    EXPECT_NEAR(readings[1].designWh, 4.19 * 11.55, 1e-9);
    EXPECT_NEAR(readings[1].fullWh, 3.849 * 11.55, 1e-9);
    EXPECT_EQ(readings[1].cycles, 0);
    EXPECT_EQ(readings[0].supply, "BAT0");
    EXPECT_EQ(readings[1].supply, "BAT1");
}

struct Case {
    const char* name;
    Attributes attributes;
    bool read;
    bool ratioOnly;
    bool present = true;
};

// A battery that is there but whose capacities do not make sense is named without figures,
// so the diary knows it still owes it a line; one that is not there is left out.
TEST(SysfsBatteryHealthTest, DoubtfulBatteriesGiveNoFigures) {
    const std::vector<Case> cases = {
        {"design zero", {{"energy_full_design", "0"}, {"energy_full", "40000000"}}, false, false},
        {"full far above design",
         {{"energy_full_design", "40000000"}, {"energy_full", "61000000"}},
         false,
         false},
        {"no full", {{"energy_full_design", "40000000"}}, false, false},
        {"not present",
         {{"present", "0"}, {"energy_full_design", "40000000"}, {"energy_full", "39000000"}},
         false,
         false,
         false},
        {"charge without a voltage",
         {{"charge_full_design", "5000000"}, {"charge_full", "4000000"}},
         true,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        const fs::path dir = folder.Path() / "BAT0";
        fs::create_directories(dir);
        test::WriteFileBytes(dir / "type", "Battery\n");
        for (const auto& [key, value] : c.attributes) {
            test::WriteFileBytes(dir / key, value + "\n");
        }
        const std::vector<BatteryHealthReading> readings =
            SysfsBatteryHealth(folder.Path().string()).Read();
        ASSERT_EQ(readings.size(), c.present ? 1U : 0U);
        if (!c.present) {
            continue;
        }
        EXPECT_EQ(readings[0].supply, "BAT0");
        EXPECT_EQ(IsPlausibleHealth(readings[0].designWh, readings[0].fullWh), c.read);
        if (c.read) {
            EXPECT_EQ(readings[0].ratioOnly, c.ratioOnly);
            EXPECT_DOUBLE_EQ(readings[0].fullWh / readings[0].designWh, 0.8);
        }
    }
}

// The energy now of both batteries, one in energy and one in charge units; a battery taken
// out makes one look unknown, and the next sees the list afresh.
TEST(SysfsBatteryHealthTest, EnergyNowSumsTheBatteriesPresent) {
    test::TempFolder folder;
    fs::copy(AMPERLOG_TEST_DATA_DIR "/sysfs-health", folder.Path(), fs::copy_options::recursive);
    SysfsBatteryHealth source(folder.Path().string());
    // 15.89 Wh, and 3.212 Ah at 11.55 V.
    EXPECT_NEAR(source.EnergyNowWh().value_or(0), 15.89 + 37.0986, 1e-9);
    fs::remove_all(folder.Path() / "BAT1");
    EXPECT_EQ(source.EnergyNowWh(), std::nullopt);
    EXPECT_NEAR(source.EnergyNowWh().value_or(0), 15.89, 1e-9);
}

} // namespace
} // namespace amperlog
