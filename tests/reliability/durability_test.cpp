// What reaches the disk: a log line in one write call, a full disk that costs the line being
// written and nothing else, and files replaced whole or not at all.
#include "datalog/daily_log.h"
#include "helpers/civil_time.h"
#include "monitor_rig.h"
#include "settings/profile_file.h"
#include "small_disk.h"
#include "temp_folder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <vector>

namespace amperlog::test {
namespace {

const CivilTime kStart = *CivilTime::FromParts(2024, 2, 29, 10, 0, 0);

// The probe writes five lines, the first after a torn one; the trace must show, for each
// opening of the log, exactly one write that carries the whole line.
TEST(Durability, EachLogLineIsOneWriteCall) {
    if (!RunCommand("strace -V >/dev/null 2>&1")) {
        GTEST_SKIP() << "strace is not installed";
    }
    TempFolder folder;
    const auto trace = folder / "trace.txt";
    // The leak checker cannot work under a tracer.
    ASSERT_TRUE(RunCommand("ASAN_OPTIONS=detect_leaks=0 strace -f -qq "
                           "-e trace=openat,write,writev,pwrite64,close -o " +
                           Quoted(trace) + " " + Quoted(AMPERLOG_LOG_LINE_PROBE) + " " +
                           Quoted(folder.Path()) + " 5"));

    std::ifstream in(trace);
    std::string line;
    std::string logFd;
    std::vector<std::vector<long>> writesPerOpen;
    const std::regex open(R"(openat\(.*20240229\.txt", O_WRONLY\|O_CREAT\|O_APPEND.*\) = (\d+))");
    const std::regex write(R"((write|writev|pwrite64)\((\d+), .*\) = (-?\d+))");
    const std::regex close(R"(close\((\d+)\))");
    while (std::getline(in, line)) {
        std::smatch m;
        if (std::regex_search(line, m, open)) {
            logFd = m[1].str();
            writesPerOpen.emplace_back();
        } else if (!logFd.empty() && std::regex_search(line, m, write) && m[2].str() == logFd) {
            writesPerOpen.back().push_back(std::stol(m[3].str()));
        } else if (!logFd.empty() && std::regex_search(line, m, close) && m[1].str() == logFd) {
            logFd.clear();
        }
    }
    // "2/29 10:00:00,Batt,80%,4000,\r\n" is 30 bytes, the "+" lines one more; the first write
    // closes the torn line as well.
    const std::vector<std::vector<long>> expected{{32}, {31}, {30}, {31}, {30}};
    EXPECT_EQ(writesPerOpen, expected) << ReadFileBytes(trace);
}

// The log's last page has 16 bytes to spare when the disk fills up, fewer than a line: the
// write stops part way. The line is lost, nothing of it stays in the file, the settings file
// is neither damaged nor shadowed by a temporary, the monitor keeps ticking, and once there
// is room again the next line is whole.
TEST(Durability, FullDiskLosesTheLineOnly) {
    TempFolder folder;
    SmallDisk disk(folder / "disk");
    if (!disk.Mounted()) {
        GTEST_SKIP() << "cannot mount a small file system here (not root?)";
    }
    MonitorRig rig(folder / "disk", kStart);
    std::filesystem::create_directories(rig.folder / "Data");
    std::string lines;
    for (int i = 0; i < 135; ++i) {
        lines += FormatLogStamp(kStart.AddSeconds(i - 3600)) + ",Batt,80%,4000,\r\n";
    }
    WriteFileBytes(rig.LogPath(kStart), lines);
    rig.power.Set(Battery(0, 80, 4000));
    rig.monitor.Startup();
    rig.clock.Advance(1);
    rig.monitor.Tick(); // a first line, and the sampler's keys in the settings file
    const std::string before = ReadFileBytes(rig.LogPath(kStart));
    ASSERT_EQ(before.size(), 136U * 30U); // 4080 bytes: 16 to spare in the last page
    const std::string settingsBefore = ReadFileBytes(rig.SettingsPath());
    ASSERT_NE(settingsBefore.find("BattPercent=80%"), std::string::npos);

    disk.Fill();
    EXPECT_FALSE(WriteLogLine(rig.state, rig.settings, rig.clock.Now(), ""));
    EXPECT_EQ(ReadFileBytes(rig.LogPath(kStart)), before);
    for (int s = 0; s < 30; ++s) {
        rig.clock.Advance(1);
        rig.power.Set(Battery(0, 79, 3900 - s));
        rig.monitor.Tick();
    }
    EXPECT_EQ(ReadFileBytes(rig.LogPath(kStart)), before);
    EXPECT_EQ(ReadFileBytes(rig.SettingsPath()), settingsBefore);
    EXPECT_EQ(Leftovers(rig.folder), std::vector<std::string>{});

    disk.Free();
    rig.clock.Advance(1);
    rig.power.Set(Battery(0, 78, 3000));
    rig.monitor.Tick();
    const std::string after = ReadFileBytes(rig.LogPath(kStart));
    ASSERT_TRUE(after.starts_with(before));
    EXPECT_EQ(after.substr(before.size()), FormatLogStamp(rig.clock.Now()) + ",Batt,78%,3000,\r\n");
    EXPECT_EQ(ReadProfileText("Work", "BattPercent", rig.SettingsPath()), "78%");
    EXPECT_EQ(Leftovers(rig.folder), std::vector<std::string>{});
    ASSERT_TRUE(rig.state.DaySamples.has_value());
    for (const DaySample& sample : *rig.state.DaySamples) {
        EXPECT_EQ(sample.Power, "Batt");
        EXPECT_GE(sample.Percent, 78);
    }
}

} // namespace
} // namespace amperlog::test
