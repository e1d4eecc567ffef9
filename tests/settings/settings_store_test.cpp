#include "platform/fake/fake_screen_metrics.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace amperlog {
namespace {

using test::TempFolder;
using test::WriteFileBytes;

constexpr const char* kNoKey = nullptr;

std::string WorkFile(const char* key, const char* stored) {
    if (stored == kNoKey) {
        return "[Work]\r\nOther=1\r\n";
    }
    return std::string("[Work]\r\n") + key + "=" + stored + "\r\n";
}

TEST(SettingsStore, ReadWorkNumber) {
    struct Case {
        const char* stored; // kNoKey: the key is missing
        double fallback;
        double expected;
    } cases[] = {
        {kNoKey, 8, 8}, {"", 8, 8},         {"   ", 8, 8},   {"abc", 8, 0},     {"7.5", 8, 7.5},
        {"85%", 0, 85}, {kNoKey, 0.5, 0.5}, {"1e999", 8, 0}, {"\"12\"", 8, 12}, {"-3", 8, -3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored == kNoKey ? "<missing>" : c.stored);
        TempFolder folder;
        WriteFileBytes(folder / "amperlog.ini", WorkFile("SEP", c.stored));
        SettingsStore store(folder / "amperlog.ini", nullptr);
        EXPECT_DOUBLE_EQ(store.ReadWorkNumber("SEP", c.fallback), c.expected);
    }
}

TEST(SettingsStore, ReadWorkInt16BringsNonsenseToTheNearestSaneValue) {
    struct Case {
        const char* key;
        const char* stored;          // kNoKey: the key is missing
        std::optional<int> fallback; // nullopt: the table's default
        int expected;
    } cases[] = {
        {"SEP", "7.5", std::nullopt, 8},
        {"SEP", "6.5", std::nullopt, 6},
        {"SEP", kNoKey, std::nullopt, 8},
        {"SEP", "", 8, 8},
        {"SEP", "0", 8, 1},
        {"SEP", "-1", 8, 1},
        {"SEP", "abc", 8, 1},
        {"SEP", "1e999", 8, 1},
        {"SEP", "100000", 8, 1440},
        {"SEP", "20", 8, 20},
        {"sep", "12", 8, 12},
        {"Band", "1000", 5, 10},
        {"Band", "0", 5, 1},
        {"Band", kNoKey, 3, 3},
        {"Band", kNoKey, std::nullopt, 5},
        {"Band", "10.5", 5, 10},
        {"GraphMode", "5", 0, 5},
        {"GraphMode", "1e6", 0, 32767},
        {"GraphMode", "-1e6", 0, -32768},
        {"GraphMode", "abc", 0, 0},
        {"Voice", "32767.5", 0, 32767},
        {"Remain", kNoKey, std::nullopt, 0},
        {"Unknown", "70000", 0, 32767},
        {"Unknown", kNoKey, std::nullopt, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + (c.stored == kNoKey ? "<missing>" : c.stored));
        TempFolder folder;
        WriteFileBytes(folder / "amperlog.ini", WorkFile(c.key, c.stored));
        SettingsStore store(folder / "amperlog.ini", nullptr);
        const std::int16_t value =
            c.fallback ? ReadWorkInt16(store, c.key, static_cast<std::int16_t>(*c.fallback))
                       : ReadWorkInt16(store, c.key);
        EXPECT_EQ(value, c.expected);
    }
}

TEST(SettingsStore, KeyTableCoversTheNumericKeys) {
    for (const auto key : {kKeySep, kKeyBand, kKeyRemain, kKeyStay, kKeyVoice, kKeyGraphMode}) {
        const WorkInt16Key* entry = FindWorkInt16Key(key);
        ASSERT_NE(entry, nullptr) << key;
        EXPECT_LE(entry->minimum, entry->defaultValue) << key;
        EXPECT_GE(entry->maximum, entry->defaultValue) << key;
    }
    EXPECT_EQ(FindWorkInt16Key("graphmode"), FindWorkInt16Key(kKeyGraphMode));
    EXPECT_EQ(FindWorkInt16Key(kKeyLogTime), nullptr);
}

TEST(SettingsStore, AlertThresholdsFallBackClampAndKeepCriticalBelowLow) {
    struct Case {
        const char* stored; // the [Alerts] section's lines
        AlertThresholds expected;
    } cases[] = {
        {"", {20, 10, 0, 5}},
        {"Low=30\r\nCritical=15\r\nCharged=80\r\nRepeat=0\r\n", {30, 15, 80, 0}},
        {"Low=abc\r\nCritical=\r\nCharged=x80\r\nRepeat=-5\r\n", {20, 10, 0, 0}},
        {"Low=150\r\nCritical=0\r\nCharged=100\r\nRepeat=1e9\r\n", {99, 1, 99, 1440}},
        {"low=12.5\r\nCRITICAL=12\r\nRepeat=.5\r\n", {12, 11, 0, 0}},
        {"Low=1\r\nCritical=5\r\nCharged=1e999\r\n", {1, 0, 0, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        TempFolder folder;
        WriteFileBytes(folder / "amperlog.ini", std::string("[Alerts]\r\n") + c.stored);
        SettingsStore store(folder / "amperlog.ini", nullptr);
        const AlertThresholds limits = ReadAlertThresholds(store);
        EXPECT_EQ(limits.low, c.expected.low);
        EXPECT_EQ(limits.critical, c.expected.critical);
        EXPECT_EQ(limits.charged, c.expected.charged);
        EXPECT_EQ(limits.repeatMinutes, c.expected.repeatMinutes);
    }
}

TEST(SettingsStore, MissingAlertKeysAreWrittenWithTheirDefaultsOnly) {
    TempFolder folder;
    const std::string work = "[Work]\r\nSEP=12\r\n";
    WriteFileBytes(folder / "amperlog.ini", work + "[Alerts]\r\nLow=abc\r\n");
    SettingsStore store(folder / "amperlog.ini", nullptr);
    WriteMissingAlertKeys(store);
    EXPECT_EQ(test::ReadFileBytes(folder / "amperlog.ini"),
              work + "[Alerts]\r\nLow=abc\r\nCritical=10\r\nCharged=0\r\nRepeat=5\r\n");
}

TEST(SettingsStore, LogtimeWrittenIsLogTimeRead) {
    TempFolder folder;
    SettingsStore store(folder / "amperlog.ini", nullptr);
    store.WriteWorkSetting(kKeyLogTime, "2026/12/06 9:05:07");
    EXPECT_EQ(store.ReadWorkSetting("LogTime"), "2026/12/06 9:05:07");
    store.WriteWorkSetting(kKeyLogTime, "2026/12/06 9:13:07");
    EXPECT_EQ(test::ReadFileBytes(store.SettingsPath()),
              "[Work]\r\nLogtime=2026/12/06 9:13:07\r\n");
}

TEST(SettingsStore, UnknownSamplerStateSurvivesTheRoundTrip) {
    TempFolder folder;
    SettingsStore store(folder / "amperlog.ini", nullptr);
    store.WriteWorkSetting(kKeyBattStatus, "   ");
    EXPECT_EQ(store.ReadWorkSetting(kKeyBattStatus), "   ");
    SettingsStore another(folder / "amperlog.ini", nullptr);
    EXPECT_EQ(another.ReadWorkSetting(kKeyBattStatus), "   ");
}

TEST(SettingsStore, ReadSettingRefreshesTwipsPerPixel) {
    TempFolder folder;
    FakeScreenMetrics screen(20, 1920.0 * 20, 1080.0 * 20);
    SettingsStore store(folder / "amperlog.ini", &screen);
    EXPECT_EQ(store.TwipsPerPixel(), 15);
    store.ReadWorkSetting(kKeySep); // only the "Windows" reader refreshes it
    EXPECT_EQ(store.TwipsPerPixel(), 15);
    store.ReadSetting(kSectionWindows, kKeyMain);
    EXPECT_EQ(store.TwipsPerPixel(), 20);
    screen.SetTwipsPerPixel(0); // a broken report keeps the last good scale
    store.ReadSetting(kSectionWindows, kKeyMain);
    EXPECT_EQ(store.TwipsPerPixel(), 20);

    SettingsStore headless(folder / "amperlog.ini", nullptr);
    headless.ReadSetting(kSectionWindows, kKeyMain);
    EXPECT_EQ(headless.TwipsPerPixel(), 15);
}

} // namespace
} // namespace amperlog
