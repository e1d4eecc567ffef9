// Files the program did not write, or that a crash or a person mangled: each one is loaded
// the way the program loads it (start-up, ticks that write and redraw, the graphs on a
// recording surface) and must give sane values, never a crash, a hang or unbounded memory.
// Small files live in tests/data/hostile/; large ones are made here.
#include "datalog/daily_log.h"
#include "datalog/day_file.h"
#include "helpers/civil_time.h"
#include "helpers/numeric.h"
#include "monitor_rig.h"
#include "settings/profile_file.h"
#include "settings/settings_keys.h"
#include "temp_folder.h"
#include "window/graph_refresh.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

namespace amperlog::test {
namespace {

const CivilTime kStart = *CivilTime::FromParts(2024, 2, 29, 10, 0, 0);
constexpr const char* kToday = "20240229.txt";

std::filesystem::path HostileFile(const char* name) {
    return TestDataDir() / "hostile" / name;
}

// Ticks for the given seconds, the remaining time moving every 5 seconds so that lines are
// written and the graphs redrawn.
void RunFor(MonitorRig& rig, int seconds) {
    for (int s = 1; s <= seconds; ++s) {
        rig.clock.Advance(1);
        rig.power.Set(Battery(0, 80, 4000 - (s / 5) * 10));
        rig.monitor.Tick();
    }
}

std::size_t CountMarker(const std::string& log, const std::string& marker) {
    std::size_t count = 0;
    for (std::size_t end = log.find("\r\n"); end != std::string::npos;
         end = log.find("\r\n", end + 2)) {
        const std::size_t begin = log.rfind('\n', end - 1);
        const std::string line = log.substr(begin == std::string::npos ? 0 : begin + 1,
                                            end - (begin == std::string::npos ? 0 : begin + 1));
        count += line.ends_with("," + marker) ? 1 : 0;
    }
    return count;
}

// A setting typed by hand, with what the program makes of it.
struct SettingCase {
    const char* key;
    const char* text;
    std::int16_t sepMinutes;
    const char* lblTools;
    float graphScale;

    friend void PrintTo(const SettingCase& c, std::ostream* out) { *out << c.key << '=' << c.text; }
};

class HandEditedSetting : public testing::TestWithParam<SettingCase> {};

// The program starts, runs ten minutes and draws both graphs with every such value; the
// interval line comes at most once a half minute, whatever "SEP" says.
TEST_P(HandEditedSetting, GivesASaneValue) {
    const SettingCase c = GetParam();
    TempFolder folder;
    MonitorRig rig(folder.Path(), kStart);
    WriteFileBytes(rig.SettingsPath(), std::string("[Work]\r\n") + c.key + "=" + c.text + "\r\n");
    rig.power.Set(Battery(1, 100, -1));
    rig.monitor.Startup();
    EXPECT_EQ(rig.state.SepMinutes, c.sepMinutes);
    EXPECT_EQ(rig.model.lblTools, c.lblTools);
    EXPECT_EQ(rig.state.GraphScale, c.graphScale);
    EXPECT_EQ(ReadProfileText("Work", "Expand", rig.SettingsPath()),
              c.graphScale == 1.0F ? "1" : "0.5");

    for (int second = 0; second < 600; ++second) {
        rig.clock.Advance(1);
        rig.monitor.Tick();
    }
    rig.views.RefreshGraphs();
    rig.settings.WriteWorkSetting(kKeyGraphMode, "1");
    rig.views.RefreshGraphs();
    EXPECT_GT(rig.views.lastGraphOps, 0U);
    const std::string log = ReadFileBytes(rig.LogPath(kStart));
    EXPECT_LE(CountMarker(log, "+"), 20U) << log;
}

INSTANTIATE_TEST_SUITE_P(
    Values, HandEditedSetting,
    testing::Values(
        SettingCase{"SEP", "0", 1, "5", 1.0F}, SettingCase{"SEP", "-1", 1, "5", 1.0F},
        SettingCase{"SEP", "1e999", 1, "5", 1.0F}, SettingCase{"SEP", "NaN", 1, "5", 1.0F},
        SettingCase{"SEP", "7.5", 8, "5", 1.0F}, SettingCase{"SEP", "99999", 1440, "5", 1.0F},
        SettingCase{"SEP", "", 8, "5", 1.0F}, SettingCase{"Band", "1000", 8, "10", 1.0F},
        SettingCase{"Band", "0", 8, "1", 1.0F}, SettingCase{"Band", "-1", 8, "1", 1.0F},
        SettingCase{"Band", "nan", 8, "1", 1.0F}, SettingCase{"Band", "1e999", 8, "1", 1.0F},
        SettingCase{"Expand", "nan", 8, "5", 0.5F}, SettingCase{"Expand", "1e999", 8, "5", 0.5F},
        SettingCase{"Expand", "-1", 8, "5", 0.5F}, SettingCase{"Expand", "1.0", 8, "5", 1.0F},
        SettingCase{"GraphMode", "5", 8, "5", 1.0F}, SettingCase{"GraphMode", "NaN", 8, "5", 1.0F},
        SettingCase{"Remain", "1e999", 8, "5", 1.0F}),
    [](const testing::TestParamInfo<SettingCase>& param) {
        return std::string(param.param.key) + "_" + std::to_string(param.index);
    });

// A settings file of random bytes: the program runs on defaults, adds its keys, and keeps
// every byte it found.
TEST(HostileSettings, BinaryFileIsKeptAndExtended) {
    TempFolder folder;
    MonitorRig rig(folder.Path(), kStart);
    const std::string binary = ReadFileBytes(HostileFile("binary.ini"));
    ASSERT_FALSE(binary.empty());
    WriteFileBytes(rig.SettingsPath(), binary);
    rig.monitor.Startup();
    RunFor(rig, 60);

    const std::string after = ReadFileBytes(rig.SettingsPath());
    EXPECT_TRUE(after.starts_with(binary));
    EXPECT_EQ(rig.state.SepMinutes, 8);
    ProfileFile profile(rig.SettingsPath());
    EXPECT_EQ(profile.Read("Work", "BattPercent"), "80%");
    EXPECT_EQ(ParseSettingsTime(profile.Read("Work", "LogTime")),
              ReadLastLogTime(rig.LogPath(kStart), 2024));
}

// A "LogTime" that is no date: the interval waits for the next line, which stores a good one.
TEST(HostileSettings, ImpossibleLogTimeIsReplacedByTheNextLine) {
    for (const char* text : {"2024/02/30 9:00:00", "2024/13/45 25:61:61", "\x01\xff", "1e999"}) {
        TempFolder folder;
        MonitorRig rig(folder.Path(), kStart);
        WriteFileBytes(rig.SettingsPath(), std::string("[Work]\r\nLogTime=") + text + "\r\n");
        rig.monitor.Startup();
        RunFor(rig, 10);
        EXPECT_EQ(ParseSettingsTime(ReadProfileText("Work", "LogTime", rig.SettingsPath())),
                  ReadLastLogTime(rig.LogPath(kStart), 2024))
            << text;
    }
}

const std::regex& WholeLine() {
    static const std::regex pattern(R"([1-9]/[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9],)"
                                    R"((Batt|Power|   |Error),([0-9]{1,3}%|   ),[0-9A-Za-z]*,)"
                                    R"((|\+|Monitor|day changed))");
    return pattern;
}

// The lines appended after `before`: a torn last line gets its own line end first, and
// every appended line is whole.
std::vector<std::string> AppendedLines(const std::string& before, const std::string& after) {
    EXPECT_TRUE(after.starts_with(before)) << "the old bytes were changed";
    std::string rest = after.substr(std::min(before.size(), after.size()));
    if (!before.empty() && before.back() != '\n' && before.back() != '\r') {
        EXPECT_TRUE(rest.starts_with("\r\n")) << "a new line was glued to a torn one";
        rest.erase(0, 2);
    }
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < rest.size()) {
        const std::size_t end = rest.find("\r\n", pos);
        if (end == std::string::npos) {
            ADD_FAILURE() << "appended line without CR LF";
            break;
        }
        lines.push_back(rest.substr(pos, end - pos));
        EXPECT_TRUE(std::regex_match(lines.back(), WholeLine())) << lines.back();
        pos = end + 2;
    }
    return lines;
}

class HostileLog : public testing::TestWithParam<const char*> {};

// Today's log as found: the start-up and the ticks append whole lines after it, the graphs
// load and draw it in both modes, and the last sample loaded is the last line written.
TEST_P(HostileLog, IsAppendedToAndDrawn) {
    TempFolder folder;
    MonitorRig rig(folder.Path(), kStart);
    std::filesystem::create_directories(folder / "Data");
    const std::string before = ReadFileBytes(HostileFile(GetParam()));
    ASSERT_FALSE(before.empty());
    WriteFileBytes(rig.LogPath(kStart), before);

    rig.monitor.Startup();
    RunFor(rig, 30);
    rig.settings.WriteWorkSetting(kKeyGraphMode, "1");
    RunFor(rig, 30);

    const std::vector<std::string> appended =
        AppendedLines(before, ReadFileBytes(rig.LogPath(kStart)));
    EXPECT_GE(appended.size(), 12U);
    ASSERT_TRUE(rig.state.DaySamples.has_value());
    EXPECT_GE(rig.state.DaySamples->size(), appended.size());
    EXPECT_EQ(rig.state.DaySamples->back().Time, rig.clock.Now());
    EXPECT_GT(rig.views.lastGraphOps, 0U);
    for (const DaySample& sample : *rig.state.DaySamples) {
        EXPECT_EQ(sample.Time.Year(), 2024);
        EXPECT_TRUE(sample.Percent >= -1e38F && sample.Percent <= 1e38F);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, HostileLog,
                         testing::Values("binary.txt", "nul_bytes.txt", "cr_only.txt",
                                         "mixed_endings.txt", "bad_dates.txt", "bad_numbers.txt",
                                         "sys_shift_jis.log", "sys_invalid_utf8.log"),
                         [](const testing::TestParamInfo<const char*>& param) {
                             std::string name = param.param;
                             std::replace(name.begin(), name.end(), '.', '_');
                             return name;
                         });

// The dates a hand-edited log may hold: only real dates of the file's year become samples.
TEST(HostileLog, OnlyRealDatesBecomeSamples) {
    TempFolder folder;
    MainWindowModel window;
    MonitorState state;
    state.DataFolder = folder.Path();
    window.lblTargetName = kToday;
    std::filesystem::copy_file(HostileFile("bad_dates.txt"), folder / kToday);
    ASSERT_EQ(LoadDaySamples(state, window, kStart), 1);
    EXPECT_EQ(state.DaySamples->front().Time, *CivilTime::FromParts(2024, 2, 29, 8, 0, 0));
    EXPECT_EQ(ReadLastLogTime(folder / kToday, 2023), *CivilTime::FromParts(2024, 2, 29, 8));
}

// Writes size bytes of lines made by line(i) to path, in big blocks.
template <typename MakeLine>
void WriteLines(const std::filesystem::path& path, std::uintmax_t size, MakeLine line) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    std::string block;
    std::uintmax_t written = 0;
    for (std::size_t i = 0; written < size; ++i) {
        block += line(i);
        if (block.size() >= 1 << 20) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
            written += block.size();
            block.clear();
        }
    }
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
}

// 100 MB of log: a hundred thousand good lines, then junk in lines of 64 KiB up to 100 MB,
// then one last good line. The start-up finds that last line's time; a load reads the whole
// file and keeps the samples only, so the junk costs time, not memory.
TEST(HugeLog, HundredMegabytesLoadWithBoundedMemory) {
    TempFolder folder;
    MonitorRig rig(folder.Path(), kStart);
    std::filesystem::create_directories(folder / "Data");
    const auto path = rig.LogPath(kStart);
    const std::size_t goodLines = 100'000;
    {
        std::string lines;
        for (std::size_t i = 0; i < goodLines; ++i) {
            const CivilTime t = kStart.Date().AddSeconds(static_cast<std::int64_t>(i % 36000));
            lines += FormatLogStamp(t) + ",Batt,50%,3600,\r\n";
        }
        WriteFileBytes(path, lines);
    }
    const std::string junk = std::string(64 * 1024 - 2, 'j') + "\r\n";
    WriteLines(path, std::uintmax_t{100} << 20, [&junk](std::size_t) { return junk; });
    {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        out << "2/29 09:59:59,Power,77%,Charge,+\r\n";
    }
    ASSERT_GE(std::filesystem::file_size(path), std::uintmax_t{100} << 20);

    rig.power.Set(Battery(1, 77, -1));
    const PeakResident resident;
    rig.monitor.Startup(); // the file has a line of today: no start-up line
    EXPECT_EQ(ReadLastLogTime(path, 2024), *CivilTime::FromParts(2024, 2, 29, 9, 59, 59));
    RunFor(rig, 5); // two change lines, each followed by a graph refresh over the whole file

    ASSERT_TRUE(rig.state.DaySamples.has_value());
    EXPECT_EQ(rig.state.DaySamples->size(), goodLines + 3);
    EXPECT_EQ(rig.state.DaySamples->back().Time, rig.clock.Now());
    EXPECT_EQ(rig.state.DaySamples->front().Time, kStart.Date());
    EXPECT_GT(rig.views.lastGraphOps, 0U);
    // The samples, not the file: what the sanitizer counts on the heap, else the peak of the
    // resident size.
    const std::size_t bound = std::size_t{64} << 20;
    if (HeapBytes() != 0) {
        EXPECT_LT(HeapBytes(), bound);
    } else if (const auto growth = resident.Growth()) {
        EXPECT_LT(*growth, bound);
    } else {
        GTEST_SKIP() << "memory not measured: no heap count and no peak resident size";
    }
}

// More lines than a day can hold at one a second: the load stops at its bound.
TEST(HugeLog, SamplesStopAtTheirBound) {
    TempFolder folder;
    const auto path = folder / kToday;
    WriteLines(path, (kMaxDaySamples + 1000) * 28, [](std::size_t i) {
        return FormatLogStamp(kStart.AddSeconds(static_cast<std::int64_t>(i % 3600))) +
               ",Batt,50%,1,\r\n";
    });
    MainWindowModel window;
    MonitorState state;
    state.DataFolder = folder.Path();
    window.lblTargetName = kToday;
    EXPECT_EQ(LoadDaySamples(state, window, kStart), static_cast<std::int32_t>(kMaxDaySamples));
    EXPECT_LE(state.DaySamples->capacity(), kMaxDaySamples);
}

// A line of 10 MB without a comma, in the middle and as a torn last line: it is skipped
// without being kept, and the next line written is not glued to it.
TEST(HugeLog, TenMegabyteLineIsSkipped) {
    TempFolder folder;
    MonitorRig rig(folder.Path(), kStart);
    std::filesystem::create_directories(folder / "Data");
    const auto path = rig.LogPath(kStart);
    const std::string hugeLine(10u << 20, 'x');
    WriteFileBytes(path, "2/29 08:00:00,Batt,90%,3600,\r\n" + hugeLine +
                             "\r\n2/29 08:00:05,Batt,89%,3500,\r\n" + hugeLine);
    rig.monitor.Startup();
    EXPECT_EQ(ReadLastLogTime(path, 2024), *CivilTime::FromParts(2024, 2, 29, 8, 0, 5));
    RunFor(rig, 10);

    const std::string after = ReadFileBytes(path);
    const std::size_t tail = after.rfind(hugeLine);
    ASSERT_NE(tail, std::string::npos);
    EXPECT_EQ(after.substr(tail + hugeLine.size(), 2), "\r\n");
    ASSERT_TRUE(rig.state.DaySamples.has_value());
    EXPECT_EQ(rig.state.DaySamples->size(), CountMarker(after, "") + CountMarker(after, "+"));
}

// A settings file too large to keep in memory: it is read but never rewritten, and the
// monitor keeps running on what it holds.
TEST(HugeSettings, TooLargeToKeepIsReadNotRewritten) {
    TempFolder folder;
    MonitorRig rig(folder.Path(), kStart);
    {
        std::ofstream out(rig.SettingsPath(), std::ios::binary);
        out << "[Work]\r\nSEP=12\r\n";
        const std::string comment = "; " + std::string(1000, 'c') + "\r\n";
        for (std::uintmax_t n = 0; n <= ProfileFile::kMaxLoadedBytes; n += comment.size()) {
            out << comment;
        }
    }
    const auto size = std::filesystem::file_size(rig.SettingsPath());
    rig.monitor.Startup();
    EXPECT_EQ(rig.state.SepMinutes, 12);
    RunFor(rig, 20);
    EXPECT_EQ(std::filesystem::file_size(rig.SettingsPath()), size);
    EXPECT_FALSE(std::filesystem::exists(rig.SettingsPath().string() + ".tmp"));
}

} // namespace
} // namespace amperlog::test
