#include "platform/fake/fake_clock.h"
#include "platform/linux/sysfs_power_source.h"
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

constexpr PowerStatus kDesktop{1, 128, 255, -1, -1};

// A power supply class folder built file by file, as the kernel shows it.
class SupplyTreeTest : public ::testing::Test {
protected:
    fs::path Root() const { return m_folder / "power_supply"; }

    void Supply(const std::string& name, const Attributes& attributes) {
        fs::create_directories(Root() / name);
        for (const auto& [key, value] : attributes) {
            Set(name, key, value);
        }
    }
    void Set(const std::string& name, const std::string& key, const std::string& value) {
        test::WriteFileBytes(Root() / name / key, value + "\n");
    }

    // A battery in energy units: µWh and µW.
    void EnergyBattery(const std::string& name, const std::string& status, long long now,
                       long long full, long long power) {
        Supply(name, {{"type", "Battery"},
                      {"scope", "System"},
                      {"present", "1"},
                      {"status", status},
                      {"energy_now", std::to_string(now)},
                      {"energy_full", std::to_string(full)},
                      {"power_now", std::to_string(power)},
                      {"capacity", "1"}}); // deliberately off: the energies win
    }
    void Mains(const std::string& name, int online) {
        Supply(name, {{"type", "Mains"}, {"online", std::to_string(online)}});
    }

    std::optional<PowerStatus> Query() { return m_source.Query(); }
    // Queries once a second for the given seconds and returns the last answer.
    std::optional<PowerStatus> QueryFor(int seconds) {
        std::optional<PowerStatus> status;
        for (int i = 0; i < seconds; ++i) {
            m_counter.AdvanceSeconds(1);
            status = Query();
        }
        return status;
    }

    test::TempFolder m_folder;
    FakeMillisecondCounter m_counter{1000};
    SysfsPowerSource m_source{Root(), m_counter};
};

TEST_F(SupplyTreeTest, MissingFolderIsADesktop) {
    EXPECT_EQ(Query(), kDesktop);
}

TEST_F(SupplyTreeTest, EmptyFolderIsADesktop) {
    fs::create_directories(Root());
    EXPECT_EQ(Query(), kDesktop);
}

TEST_F(SupplyTreeTest, UnlistableFolderIsAFailure) {
    test::WriteFileBytes(Root(), "not a folder");
    EXPECT_EQ(Query(), std::nullopt);
}

TEST_F(SupplyTreeTest, DischargingBattery) {
    // 30 of 50 Wh at 10 W: 3 h left, 5 h when full.
    EnergyBattery("BAT0", "Discharging", 30'000'000, 50'000'000, 10'000'000);
    Mains("AC", 0);
    EXPECT_EQ(Query(), (PowerStatus{0, 0, 60, 3 * 3600, 5 * 3600}));
}

TEST_F(SupplyTreeTest, ChargingBatteryOnMains) {
    EnergyBattery("BAT0", "Charging", 40'000'000, 50'000'000, 25'000'000);
    Mains("AC", 1);
    EXPECT_EQ(Query(), (PowerStatus{1, 1 | 8, 80, -1, -1}));
}

TEST_F(SupplyTreeTest, FlagFollowsThePercent) {
    struct Case {
        long long now; // of 100 Wh
        const char* status;
        std::uint8_t flag;
    } cases[] = {
        {100'000'000, "Full", 1},        {67'000'000, "Discharging", 1},
        {66'000'000, "Discharging", 0},  {33'000'000, "Discharging", 0},
        {32'000'000, "Discharging", 2},  {5'000'000, "Discharging", 2},
        {4'000'000, "Discharging", 6},   {0, "Discharging", 6},
        {4'000'000, "Charging", 6 | 8},  {50'000'000, "Charging", 8},
        {50'000'000, "Not charging", 0},
    };
    for (const Case& c : cases) {
        EnergyBattery("BAT0", c.status, c.now, 100'000'000, 8'000'000);
        const std::optional<PowerStatus> status = Query();
        ASSERT_TRUE(status);
        EXPECT_EQ(status->batteryFlag, c.flag) << c.now << ' ' << c.status;
    }
}

TEST_F(SupplyTreeTest, PercentIsClampedAndRounded) {
    struct Case {
        long long now;
        long long full;
        std::uint8_t percent;
    } cases[] = {
        {52'000'000, 50'000'000, 100}, // a worn gauge reads above full
        {-1'000'000, 50'000'000, 2},   // some report a negative charge; taken as its size
        {12'345'000, 50'000'000, 25},  {12'250'000, 50'000'000, 25},
        {12'260'000, 50'000'000, 25},  {12'240'000, 50'000'000, 24},
    };
    for (const Case& c : cases) {
        EnergyBattery("BAT0", "Discharging", c.now, c.full, 0);
        const std::optional<PowerStatus> status = Query();
        ASSERT_TRUE(status);
        EXPECT_EQ(status->batteryLifePercent, c.percent) << c.now;
    }
}

TEST_F(SupplyTreeTest, TwoBatteriesAreSummed) {
    // 45 of 70 Wh, the second battery discharging at 7 W while the first rests.
    EnergyBattery("BAT0", "Unknown", 40'000'000, 50'000'000, 0);
    EnergyBattery("BAT1", "Discharging", 5'000'000, 20'000'000, -7'000'000);
    Mains("AC", 0);
    // 45/7 h = 385.7 minutes, 70/7 h = 600 minutes.
    EXPECT_EQ(Query(), (PowerStatus{0, 0, 64, 386 * 60, 600 * 60}));
}

TEST_F(SupplyTreeTest, OneChargingBatteryOfTwoSetsTheChargingBit) {
    EnergyBattery("BAT0", "Charging", 40'000'000, 50'000'000, 10'000'000);
    EnergyBattery("BAT1", "Not charging", 20'000'000, 20'000'000, 0);
    EXPECT_EQ(Query(), (PowerStatus{1, 1 | 8, 86, -1, -1}));
}

TEST_F(SupplyTreeTest, ChargeUnitsUseTheVoltage) {
    // 2 of 4 Ah drawing 1.5 A: 80 minutes left, 160 when full, whatever the voltage.
    Supply("BAT0", {{"type", "Battery"},
                    {"status", "Discharging"},
                    {"charge_now", "2000000"},
                    {"charge_full", "4000000"},
                    {"current_now", "-1500000"},
                    {"voltage_now", "11400000"}});
    Mains("ADP1", 0);
    EXPECT_EQ(Query(), (PowerStatus{0, 0, 50, 80 * 60, 160 * 60}));
}

TEST(SysfsPowerSourceTest, VoltagePreferenceWhenUnitsMix) {
    // 30 of 40 Wh beside 1 of 2 Ah: the Ah battery's energy depends on the voltage taken.
    struct Case {
        Attributes voltages;
        std::uint8_t percent;
    } cases[] = {
        {{{"voltage_max_design", "10000000"},
          {"voltage_min_design", "5000000"},
          {"voltage_now", "12000000"}},
         67}, // (30 + 10) / (40 + 20)
        {{{"voltage_min_design", "5000000"}, {"voltage_now", "12000000"}}, 70},
        {{{"voltage_now", "12000000"}}, 66}, // (30 + 12) / (40 + 24)
        {{}, 63},                            // no voltage: the mean of 75 % and 50 %
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        const fs::path root = folder / "ps";
        fs::create_directories(root / "BAT0");
        fs::create_directories(root / "BAT1");
        const Attributes bat0{{"type", "Battery"},
                              {"status", "Discharging"},
                              {"energy_now", "30000000"},
                              {"energy_full", "40000000"}};
        Attributes bat1{{"type", "Battery"},
                        {"status", "Discharging"},
                        {"charge_now", "1000000"},
                        {"charge_full", "2000000"}};
        bat1.insert(bat1.end(), c.voltages.begin(), c.voltages.end());
        for (const auto& [key, value] : bat0) {
            test::WriteFileBytes(root / "BAT0" / key, value);
        }
        for (const auto& [key, value] : bat1) {
            test::WriteFileBytes(root / "BAT1" / key, value);
        }
        FakeMillisecondCounter counter;
        SysfsPowerSource source(root, counter);
        const std::optional<PowerStatus> status = source.Query();
        ASSERT_TRUE(status);
        EXPECT_EQ(status->batteryLifePercent, c.percent) << c.voltages.size();
    }
}

TEST(SysfsPowerSourceTest, UnitFamilyAndDrawFromWhatTheGaugeGives) {
    // Discharging batteries as fuel gauges report them, one query each.
    struct Case {
        const char* gauge;
        Attributes attributes;
        PowerStatus status;
    } cases[] = {
        // A smart battery gauge: both families, a negative current and no power_now.
        // 38.808 Wh at 0.756 A × 8.224 V: 374.5 minutes left, 468.1 when full.
        {"sbs",
         {{"energy_now", "38808000"},
          {"energy_full", "48510000"},
          {"charge_now", "4719000"},
          {"charge_full", "5898000"},
          {"current_now", "-756000"},
          {"voltage_now", "8224000"},
          {"voltage_max_design", "8800000"}},
         {0, 1, 80, 375 * 60, 468 * 60}},
        // energy_now alone beside a whole charge pair: 5.92 of 8 Ah at 1.56 A.
        {"energy_now without energy_full",
         {{"energy_now", "22496000"},
          {"charge_now", "5920000"},
          {"charge_full", "8000000"},
          {"current_now", "-1560000"},
          {"voltage_now", "3942000"},
          {"voltage_min_design", "3800000"}},
         {0, 1, 74, 228 * 60, 308 * 60}},
        // Charge units with a power but no current: 4.723 Ah × 11.4 V at 9.5256 W.
        {"charge with power_now",
         {{"charge_now", "4723000"},
          {"charge_full", "4804000"},
          {"power_now", "9525600"},
          {"voltage_now", "12600000"},
          {"voltage_min_design", "11400000"}},
         {0, 1, 98, 339 * 60, 345 * 60}},
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        const fs::path root = folder / "ps";
        fs::create_directories(root / "BAT0");
        test::WriteFileBytes(root / "BAT0" / "type", "Battery\n");
        test::WriteFileBytes(root / "BAT0" / "status", "Discharging\n");
        for (const auto& [key, value] : c.attributes) {
            test::WriteFileBytes(root / "BAT0" / key, value + "\n");
        }
        FakeMillisecondCounter counter;
        SysfsPowerSource source(root, counter);
        EXPECT_EQ(source.Query(), c.status) << c.gauge;
    }
}

TEST_F(SupplyTreeTest, ChargeUnitsWithoutVoltageHaveNoLifetime) {
    Supply("BAT0", {{"type", "Battery"},
                    {"status", "Discharging"},
                    {"charge_now", "3000000"},
                    {"charge_full", "4000000"},
                    {"current_now", "1000000"}});
    EXPECT_EQ(Query(), (PowerStatus{0, 1, 75, -1, -1}));
}

TEST_F(SupplyTreeTest, CapacityWhenNoLevelIsReported) {
    Supply("BAT0", {{"type", "Battery"}, {"status", "Discharging"}, {"capacity", "42"}});
    EXPECT_EQ(Query(), (PowerStatus{0, 0, 42, -1, -1}));
    Set("BAT0", "capacity", "130");
    EXPECT_EQ(Query()->batteryLifePercent, 100);
}

TEST_F(SupplyTreeTest, CapacityLevelWhenThePercentIsUnknown) {
    struct Case {
        const char* level;
        const char* status;
        std::uint8_t flag;
    } cases[] = {
        {"Critical", "Discharging", 2 | 4}, {"Low", "Discharging", 2}, {"Normal", "Discharging", 0},
        {"High", "Discharging", 1},         {"Full", "Full", 1},       {"Low", "Charging", 2 | 8},
        {"Unknown", "Charging", 255},
    };
    for (const Case& c : cases) {
        Supply("BAT0", {{"type", "Battery"}, {"status", c.status}, {"capacity_level", c.level}});
        const std::optional<PowerStatus> status = Query();
        ASSERT_TRUE(status);
        EXPECT_EQ(status->batteryLifePercent, 255) << c.level;
        EXPECT_EQ(status->batteryFlag, c.flag) << c.level << ' ' << c.status;
    }
    fs::remove(Root() / "BAT0" / "capacity_level");
    EXPECT_EQ(Query()->batteryFlag, 255);
}

TEST_F(SupplyTreeTest, MouseBatteryIsNotTheSystemBattery) {
    Supply(
        "hid-00:11:22:33:44:55-battery",
        {{"type", "Battery"}, {"scope", "Device"}, {"status", "Discharging"}, {"capacity", "40"}});
    EXPECT_EQ(Query(), kDesktop);

    EnergyBattery("BAT0", "Discharging", 45'000'000, 50'000'000, 9'000'000);
    Mains("AC", 0);
    m_counter.AdvanceSeconds(SysfsPowerSource::kRescanIntervalMs / 1000);
    EXPECT_EQ(Query(), (PowerStatus{0, 1, 90, 300 * 60, 333 * 60}));
}

TEST_F(SupplyTreeTest, RemovedBatteryIsNoBattery) {
    EnergyBattery("BAT1", "Unknown", 0, 0, 0);
    Set("BAT1", "present", "0");
    EXPECT_EQ(Query(), kDesktop);
}

TEST_F(SupplyTreeTest, NotChargingAtAThresholdOnMains) {
    EnergyBattery("BAT0", "Not charging", 40'000'000, 50'000'000, 0);
    Mains("AC", 1);
    EXPECT_EQ(Query(), (PowerStatus{1, 1, 80, -1, -1}));
}

TEST_F(SupplyTreeTest, AcLineFromTheBatteryWithoutAnAdapter) {
    struct Case {
        const char* status0;
        const char* status1;
        std::uint8_t acLine;
    } cases[] = {
        {"Discharging", nullptr, 0},   {"Charging", nullptr, 1},        {"Full", nullptr, 1},
        {"Not charging", nullptr, 1},  {"Unknown", nullptr, 255},       {"", nullptr, 255},
        {"Unknown", "Discharging", 0}, {"Not charging", "Charging", 1}, {"Full", "Discharging", 0},
    };
    for (const Case& c : cases) {
        fs::remove_all(Root());
        EnergyBattery("BAT0", c.status0, 40'000'000, 50'000'000, 5'000'000);
        if (c.status1 != nullptr) {
            EnergyBattery("BAT1", c.status1, 40'000'000, 50'000'000, 5'000'000);
        }
        m_counter.AdvanceSeconds(SysfsPowerSource::kRescanIntervalMs / 1000);
        const std::optional<PowerStatus> status = Query();
        ASSERT_TRUE(status);
        EXPECT_EQ(status->acLineStatus, c.acLine) << c.status0;
    }
}

TEST_F(SupplyTreeTest, AnyAdapterOnlineIsMains) {
    struct Case {
        const char* type;
        int online;
        std::uint8_t acLine;
    } cases[] = {
        {"USB_C", 1, 1},
        {"USB", 1, 1},
        {"USB_PD", 2, 1},
        {"Wireless", 1, 1},
        {"USB_C", 0, 0},
        {"Mains", 1, 1},
        // A type that is no adapter leaves the mains entry alone.
        {"UPS", 1, 0},
    };
    for (const Case& c : cases) {
        fs::remove_all(Root());
        EnergyBattery("BAT0", "Discharging", 40'000'000, 50'000'000, 5'000'000);
        Mains("AC", 0);
        Supply("ucsi-source-psy-USBC000:001",
               {{"type", c.type}, {"scope", "System"}, {"online", std::to_string(c.online)}});
        m_counter.AdvanceSeconds(SysfsPowerSource::kRescanIntervalMs / 1000);
        const std::optional<PowerStatus> status = Query();
        ASSERT_TRUE(status);
        EXPECT_EQ(status->acLineStatus, c.acLine) << c.type << ' ' << c.online;
    }
}

TEST_F(SupplyTreeTest, AdapterOutranksTheBatteryStatus) {
    // Charging stalls at a threshold; the battery still says "Discharging" on some machines.
    EnergyBattery("BAT0", "Discharging", 40'000'000, 50'000'000, 0);
    Mains("AC", 1);
    EXPECT_EQ(Query()->acLineStatus, 1);
}

TEST_F(SupplyTreeTest, UnreadableFileCountsAsMissing) {
    // energy_now is a folder: it opens but does not read. The charge units take over.
    Supply("BAT0", {{"type", "Battery"},
                    {"status", "Discharging"},
                    {"energy_full", "50000000"},
                    {"charge_now", "1000000"},
                    {"charge_full", "4000000"},
                    {"current_now", "500000"},
                    {"voltage_min_design", "10000000"}});
    fs::create_directory(Root() / "BAT0" / "energy_now");
    Mains("AC", 0);
    EXPECT_EQ(Query(), (PowerStatus{0, 2, 25, 120 * 60, 480 * 60}));
}

TEST_F(SupplyTreeTest, UnreadableStatusAndOnline) {
    Supply("BAT0", {{"type", "Battery"}, {"capacity", "50"}});
    fs::create_directory(Root() / "BAT0" / "status");
    Supply("AC", {{"type", "Mains"}, {"online", "1"}});
    ASSERT_EQ(Query()->acLineStatus, 1);
    // The adapter's online file turns unreadable: no adapter, no battery status, unknown.
    fs::remove(Root() / "AC" / "online");
    fs::create_directory(Root() / "AC" / "online");
    EXPECT_EQ(QueryFor(1), (PowerStatus{255, 0, 50, -1, -1}));
}

TEST_F(SupplyTreeTest, SupplyListIsReadAgainAfterAWhile) {
    fs::create_directories(Root());
    EXPECT_EQ(Query(), kDesktop);
    EnergyBattery("BAT0", "Discharging", 45'000'000, 50'000'000, 9'000'000);
    EXPECT_EQ(QueryFor(SysfsPowerSource::kRescanIntervalMs / 1000)->batteryLifePercent, 90);
}

TEST_F(SupplyTreeTest, VanishedBatteryIsNoticedSoon) {
    EnergyBattery("BAT0", "Discharging", 45'000'000, 50'000'000, 9'000'000);
    ASSERT_EQ(Query()->batteryLifePercent, 90);
    fs::remove_all(Root() / "BAT0");
    EXPECT_EQ(QueryFor(SysfsPowerSource::kRescanAfterFailureMs / 1000 + 1), kDesktop);
}

TEST_F(SupplyTreeTest, LifetimeIsAnAverageOverTwoMinutes) {
    EnergyBattery("BAT0", "Discharging", 40'000'000, 60'000'000, 10'000'000);
    Mains("AC", 0);
    EXPECT_EQ(QueryFor(60)->batteryLifeTime, 4 * 3600);
    // A burst to 20 W barely moves the estimate at first: 61 samples average 10.16 W.
    Set("BAT0", "power_now", "20000000");
    EXPECT_EQ(QueryFor(1)->batteryLifeTime, 236 * 60);
    // Two minutes later the old draw has left the average: 2 h.
    const std::optional<PowerStatus> settled = QueryFor(120);
    EXPECT_EQ(settled->batteryLifeTime, 2 * 3600);
    EXPECT_EQ(settled->batteryFullLifeTime, 3 * 3600);
}

TEST_F(SupplyTreeTest, LifetimeFallsInWholeMinutesThroughAWobblingDraw) {
    // 50 Wh at 11 W on average, the draw alternating between 11.5 and 10.5 W.
    long long energy = 50'000'000;
    EnergyBattery("BAT0", "Discharging", energy, 60'000'000, 11'000'000);
    Mains("AC", 0);
    std::int32_t previous = QueryFor(120)->batteryLifeTime;
    EXPECT_EQ(previous, 273 * 60);
    int changes = 0;
    for (int second = 0; second < 600; ++second) {
        energy -= 11'000'000 / 3600;
        Set("BAT0", "energy_now", std::to_string(energy));
        Set("BAT0", "power_now", second % 2 == 0 ? "11500000" : "10500000");
        const std::optional<PowerStatus> status = QueryFor(1);
        ASSERT_EQ(status->batteryLifeTime % 60, 0);
        ASSERT_EQ(status->batteryFullLifeTime % 60, 0);
        // Falls with the charge, never flips back up with the wobble.
        ASSERT_LE(status->batteryLifeTime, previous) << second;
        changes += status->batteryLifeTime != previous ? 1 : 0;
        previous = status->batteryLifeTime;
    }
    // Ten minutes of an 11 W draw took 10 minutes off the lifetime, one step a minute.
    EXPECT_EQ(previous, 263 * 60);
    EXPECT_EQ(changes, 10);
}

TEST_F(SupplyTreeTest, LifetimeTurnsBackOnALastingChange) {
    EnergyBattery("BAT0", "Discharging", 50'000'000, 60'000'000, 11'000'000);
    Mains("AC", 0);
    EXPECT_EQ(QueryFor(120)->batteryLifeTime, 273 * 60);
    Set("BAT0", "power_now", "15000000");
    const std::optional<PowerStatus> busy = QueryFor(120);
    EXPECT_EQ(busy->batteryLifeTime, 200 * 60);
    EXPECT_EQ(busy->batteryFullLifeTime, 240 * 60);
    // The machine goes idle: a lasting rise is reported, in whole minutes.
    Set("BAT0", "power_now", "5000000");
    const std::optional<PowerStatus> idle = QueryFor(120);
    EXPECT_EQ(idle->batteryLifeTime, 600 * 60);
    EXPECT_EQ(idle->batteryFullLifeTime, 720 * 60);
}

TEST_F(SupplyTreeTest, AveragingRestartsWhenTheAdapterChanges) {
    EnergyBattery("BAT0", "Discharging", 40'000'000, 60'000'000, 10'000'000);
    Mains("AC", 0);
    EXPECT_EQ(QueryFor(100)->batteryLifeTime, 4 * 3600);

    Set("AC", "online", "1");
    Set("BAT0", "status", "Charging");
    EXPECT_EQ(QueryFor(1), (PowerStatus{1, 1 | 8, 67, -1, -1}));

    // Unplugged again at a 20 W draw: the estimate starts afresh, not from the old 10 W.
    Set("AC", "online", "0");
    Set("BAT0", "status", "Discharging");
    Set("BAT0", "power_now", "20000000");
    EXPECT_EQ(QueryFor(1)->batteryLifeTime, 2 * 3600);
}

TEST_F(SupplyTreeTest, NoDrawRightAfterUnpluggingIsNoEstimate) {
    EnergyBattery("BAT0", "Discharging", 40'000'000, 60'000'000, 0);
    Mains("AC", 0);
    EXPECT_EQ(QueryFor(3)->batteryLifeTime, -1);
    Set("BAT0", "power_now", "50000"); // 0.05 W: too little to estimate
    EXPECT_EQ(QueryFor(1)->batteryLifeTime, -1);
    Set("BAT0", "power_now", "10000000");
    EXPECT_EQ(QueryFor(1)->batteryLifeTime, 4 * 3600);
}

TEST_F(SupplyTreeTest, CounterWrapDoesNotBreakTheAverage) {
    m_counter.Set(0xFFFF'FFFFU - 30'000U);
    EnergyBattery("BAT0", "Discharging", 40'000'000, 60'000'000, 10'000'000);
    Mains("AC", 0);
    EXPECT_EQ(QueryFor(60)->batteryLifeTime, 4 * 3600);
    Set("BAT0", "power_now", "20000000");
    EXPECT_EQ(QueryFor(120)->batteryLifeTime, 2 * 3600);
}

} // namespace
} // namespace amperlog
