// Seven simulated days of the monitor, as the program runs it: a tick a second while
// anything happens, the battery unplugged and plugged every day, failed queries, midnights,
// the clock set back an hour and forward a day. What must hold: the right files with the
// right markers, every line whole, no leak (the sanitizers check at exit), and memory that
// does not grow from day to day.
//
// Ticks: every second for two minutes after each scripted change, each midnight and each
// clock change, and every 10 seconds in between, which is the program's own rate while it
// sits in the notification area. Seven days a tick a second would take many minutes under
// the sanitizers and test nothing more: between changes a tick re-reads the same sample. A
// coarse tick sees a change and makes an interval line up to 9 seconds late, as the program
// in the notification area does; the expected counts are taken at the ticks made.
#include "datalog/daily_log.h"
#include "helpers/civil_time.h"
#include "monitor_rig.h"
#include "settings/profile_file.h"
#include "settings/settings_keys.h"
#include "temp_folder.h"
#include "texts/catalogue.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace amperlog::test {
namespace {

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kHour = 3600;
constexpr int kDays = 7;
constexpr std::int64_t kCoarseStep = 10;
constexpr std::int64_t kDenseWindow = 120; // seconds of ticks a second after each event

// Local times of day (of the run's own day count) at which the power situation changes.
constexpr std::int64_t kUnplugMorning = 9 * kHour;
constexpr std::int64_t kPlugNoon = 12 * kHour;
constexpr std::int64_t kUnplugAfternoon = 13 * kHour;
constexpr std::int64_t kFailFrom = 15 * kHour + 30 * 60; // the query fails for 5 seconds
constexpr std::int64_t kPlugEvening = 17 * kHour;
// The clock is set back an hour on day 2 and forward a day on day 4, both at 20:00.
constexpr std::int64_t kSetBackAt = 2 * kDay + 20 * kHour;
constexpr std::int64_t kSetForwardAt = 4 * kDay + 20 * kHour;

// The power status at elapsed second e of the run; nullopt for a failed query. Charge
// falls 1 % every 2 minutes on battery and the estimate moves every minute; on mains it
// climbs 1 % a minute up to full, where nothing changes any more.
std::optional<PowerStatus> ScriptedStatus(std::int64_t e) {
    const std::int64_t s = e % kDay;
    if (s >= kFailFrom && s < kFailFrom + 5) {
        return std::nullopt;
    }
    const auto onBattery = [](std::int64_t from, std::int64_t at, int startPercent) {
        const int percent = std::max(5, startPercent - static_cast<int>((at - from) / 120));
        const int wobble = static_cast<int>((at / 60) % 2) * 30;
        return Battery(0, percent, percent * 200 + wobble);
    };
    const auto charging = [](std::int64_t from, std::int64_t at, int startPercent) {
        const int percent = std::min(100, startPercent + static_cast<int>((at - from) / 60));
        return Battery(1, percent, -1);
    };
    if (s >= kUnplugMorning && s < kPlugNoon) {
        return onBattery(kUnplugMorning, s, 100);
    }
    if (s >= kPlugNoon && s < kUnplugAfternoon) {
        return charging(kPlugNoon, s, 10); // three hours on battery from full
    }
    if (s >= kUnplugAfternoon && s < kPlugEvening) {
        return onBattery(kUnplugAfternoon, s, 70);
    }
    if (s >= kPlugEvening) {
        return charging(kPlugEvening, s, 5); // four hours from 70 %, down to the floor
    }
    return Battery(1, 100, -1);
}

// How far the clock is from the run's own time at elapsed second e.
std::int64_t ClockOffset(std::int64_t e) {
    std::int64_t offset = 0;
    if (e >= kSetBackAt) {
        offset -= kHour;
    }
    if (e >= kSetForwardAt) {
        offset += kDay;
    }
    return offset;
}

std::int64_t NextStep(std::int64_t e) {
    const std::int64_t s = e % kDay;
    // Midnight by the clock: at 00:00 of the run's own time, and at 01:00 once the clock is
    // an hour behind.
    const std::int64_t events[] = {0,         kUnplugMorning, kPlugNoon, kUnplugAfternoon,
                                   kFailFrom, kPlugEvening,   kDay - 60, kHour - 60};
    for (const std::int64_t at : events) {
        if (s >= at && s < at + kDenseWindow) {
            return 1;
        }
    }
    for (const std::int64_t at : {kSetBackAt, kSetForwardAt}) {
        if (e >= at - 60 && e < at + kDenseWindow) {
            return 1;
        }
    }
    return kCoarseStep;
}

struct LogLine {
    CivilTime time;
    std::string marker;
};

const std::regex& WholeLine() {
    static const std::regex pattern(
        R"(([1-9]|1[0-2])/[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9],)"
        R"((Batt|Power|   |Error),([0-9]{1,3}%|   ),([0-9]+|Charge|),(|\+|Monitor|day changed))");
    return pattern;
}

// The lines of one daily log; every one must be whole and end in CR LF.
std::vector<LogLine> ReadWholeLines(const std::filesystem::path& path) {
    const std::string bytes = ReadFileBytes(path);
    EXPECT_TRUE(bytes.ends_with("\r\n")) << path;
    const int year = YearFromLogFileName(path.filename().string()).value_or(0);
    std::vector<LogLine> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", pos);
        if (end == std::string::npos) {
            ADD_FAILURE() << path << ": a line without CR LF at byte " << pos;
            break;
        }
        const std::string line = bytes.substr(pos, end - pos);
        pos = end + 2;
        std::smatch m;
        if (!std::regex_match(line, m, WholeLine())) {
            ADD_FAILURE() << path << ": not a whole line: " << line;
            continue;
        }
        const auto time = ParseLogStamp(line.substr(0, line.find(',')), year);
        EXPECT_TRUE(time.has_value()) << line;
        lines.push_back({time.value_or(CivilTime{}), m[5].str()});
    }
    return lines;
}

// Resident pages in KiB where the system tells, else 0.
std::size_t ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    std::size_t resident = 0;
    if (!(statm >> pages >> resident)) {
        return 0;
    }
    return resident * 4;
}

TEST(LongRun, SevenDaysOfTicks) {
    TempFolder folder;
    const CivilTime start = *CivilTime::FromParts(2024, 2, 26);
    MonitorRig rig(folder.Path(), start);
    // The user's settings: the timeline graph on alternate days, speech on.
    WriteFileBytes(rig.SettingsPath(),
                   "; kept by hand\r\n[Work]\r\nSEP=8\r\nBand=5\r\nVoice=1\r\n"
                   "GraphMode=0\r\n\r\n[Windows]\r\nMain=1200,900,4800,3600\r\n");

    std::optional<PowerStatus> last = ScriptedStatus(0);
    rig.power.Set(*last);
    rig.monitor.Startup();

    std::size_t ticks = 0;
    std::size_t changes = 0; // ticks whose successful sample differs from the last one
    std::vector<std::size_t> heapPerDay;
    std::vector<std::size_t> residentPerDay;
    std::size_t largestDay = 0;
    std::int64_t e = 0;
    for (int day = 0; day < kDays; ++day) {
        rig.settings.WriteWorkSetting(kKeyGraphMode, day % 2 == 0 ? "0" : "1");
        while (e < (day + 1) * kDay) {
            e += NextStep(e);
            const auto status = ScriptedStatus(e);
            if (status) {
                rig.power.Set(*status);
                if (status != last) {
                    ++changes;
                    last = status;
                }
            } else {
                rig.power.SetFailure();
            }
            rig.clock.SetNow(start.AddSeconds(e + ClockOffset(e)));
            rig.monitor.Tick();
            ++ticks;
        }
        if (rig.state.DaySamples) {
            largestDay = std::max(largestDay, rig.state.DaySamples->size());
        }
        heapPerDay.push_back(HeapBytes());
        residentPerDay.push_back(ResidentKiB());
    }

    // The files: one per calendar day the clock showed, 2/26 to 3/04 with 3/01 left at 20:00
    // for 3/02; the first begun by start-up, each other one by the day change.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "Data")) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"20240226.txt", "20240227.txt", "20240228.txt",
                                               "20240229.txt", "20240301.txt", "20240302.txt",
                                               "20240303.txt", "20240304.txt"}));

    std::size_t changeLines = 0;
    std::size_t intervalLines = 0;
    std::size_t setBackLines = 0;
    std::size_t lines = 0;
    for (const std::string& name : names) {
        const std::vector<LogLine> log = ReadWholeLines(folder / "Data" / name);
        ASSERT_FALSE(log.empty()) << name;
        EXPECT_EQ(log.front().marker, name == names.front() ? "Monitor" : "day changed") << name;
        EXPECT_EQ(std::count_if(log.begin(), log.end(),
                                [](const LogLine& l) { return l.marker == "day changed"; }),
                  name == names.front() ? 0 : 1)
            << name;
        for (std::size_t i = 0; i < log.size(); ++i) {
            EXPECT_EQ(FormatFileDate(log[i].time) + ".txt", name) << "line " << i;
            changeLines += log[i].marker.empty() ? 1 : 0;
            if (log[i].marker != "+") {
                continue;
            }
            ++intervalLines;
            ASSERT_GT(i, 0U) << name;
            const std::int64_t gap = SecondsBetween(log[i - 1].time, log[i].time);
            if (gap < 0) {
                ++setBackLines; // the clock went back: the interval restarts at once
                continue;
            }
            EXPECT_GE(gap, 450) << name << " line " << i;
            EXPECT_LT(gap, 450 + kCoarseStep) << name << " line " << i;
        }
        for (std::size_t i = 1; i < log.size(); ++i) {
            const std::int64_t gap = SecondsBetween(log[i - 1].time, log[i].time);
            // Nothing is silent for longer than the interval, except across the clock change.
            EXPECT_TRUE(gap < 450 + kCoarseStep || std::abs(gap) >= kHour - 600)
                << name << " line " << i << " gap " << gap;
        }
        lines += log.size();
    }
    EXPECT_EQ(changeLines, changes);
    EXPECT_EQ(setBackLines, 1U);
    // Besides the interval announcements only the battery alerts speak: the week's discharges
    // reach the low and critical thresholds.
    EXPECT_EQ(rig.views.spoken["8分経過しました"], static_cast<int>(intervalLines));
    const std::string low(Text(TextId::AlertLow, Language::Japanese));
    const std::string critical(Text(TextId::AlertCritical, Language::Japanese));
    EXPECT_GT(rig.views.spoken[low], 0);
    EXPECT_GT(rig.views.spoken[critical], 0);
    for (const auto& [text, count] : rig.views.spoken) {
        EXPECT_TRUE(text == "8分経過しました" || text == low || text == critical) << text;
    }

    // The settings file keeps the user's lines and holds the sampler's memory and the time of
    // the last line.
    const std::string ini = ReadFileBytes(rig.SettingsPath());
    EXPECT_TRUE(ini.starts_with("; kept by hand\r\n[Work]\r\nSEP=8\r\nBand=5\r\nVoice=1\r\n"));
    EXPECT_NE(ini.find("\r\n[Windows]\r\nMain=1200,900,4800,3600\r\n"), std::string::npos);
    ProfileFile profile(rig.SettingsPath());
    for (const auto key : {kKeyBattPercent, kKeyRemainTime, kKeyAcStatus, kKeyBattStatus,
                           kKeyLifeTime, kKeyExpand}) {
        EXPECT_FALSE(profile.Read(kSectionWork, key).empty()) << key;
    }
    const auto lastLog = ReadLastLogTime(rig.LogPath(rig.clock.Now()), 2024);
    ASSERT_TRUE(lastLog.has_value());
    EXPECT_EQ(ParseSettingsTime(profile.Read(kSectionWork, kKeyLogTime)), lastLog);

    EXPECT_GT(rig.views.lastGraphOps, 0U);
    EXPECT_GT(rig.views.TickOps(), 0U);

    // Memory: the day table holds one day, the graph tables one drawing, and the heap is
    // where it was after the first day.
    ASSERT_TRUE(rig.state.DaySamples.has_value());
    EXPECT_LE(rig.state.DaySamples->capacity(), 2 * largestDay);
    EXPECT_LE(rig.views.graphs.BarSlots.size(), 1440U);
    EXPECT_LE(rig.views.graphs.RateSamples.size(), largestDay);
    std::printf("[ long run ] %zu ticks, %zu lines in %zu files (%zu change, %zu interval), "
                "%d graph refreshes, largest day %zu lines\n",
                ticks, lines, names.size(), changeLines, intervalLines, rig.views.refreshes,
                largestDay);
    for (std::size_t d = 0; d < heapPerDay.size(); ++d) {
        std::printf("[ long run ] day %zu: heap %zu bytes, resident %zu KiB\n", d + 1,
                    heapPerDay[d], residentPerDay[d]);
    }
    // The first day fills the tables to a day's size; from then on nothing may pile up.
    if (heapPerDay[1] != 0) {
        EXPECT_LE(heapPerDay.back(), heapPerDay[1] + 64 * 1024);
    }
    // Resident memory also holds the sanitizer's quarantine of freed blocks: a wide margin.
    if (residentPerDay[1] != 0) {
        EXPECT_LE(residentPerDay.back(), residentPerDay[1] + 64 * 1024);
    }
}

} // namespace
} // namespace amperlog::test
