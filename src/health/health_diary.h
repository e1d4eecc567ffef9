#pragma once

#include "helpers/civil_time.h"
#include "platform/battery_health.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace amperlog {

class BatteryHealthSource;
class Clock;

// One line of the diary: one battery on one day.
struct HealthEntry {
    std::int64_t day = 0; // CivilTime::DayNumber
    std::string identity;
    // Wh; absent for a battery that gives its capacity only as a ratio.
    std::optional<double> designWh;
    std::optional<double> fullWh;
    double healthPercent = 0;
    int cycles = 0;
};

// "<program folder>/Data/health.csv": beside the daily logs, outside their name pattern.
std::filesystem::path HealthDiaryPath(const std::filesystem::path& programFolder);

// Each battery's manufacturer, model and serial as one field of the diary: a new battery, a
// new series. Where they cannot tell it from another battery (no serial, or the same names
// as another), its supply's name joins them.
std::vector<std::string> BatteryIdentities(const std::vector<BatteryHealthReading>& readings);
double HealthPercent(const BatteryHealthReading& reading);
// "yyyy-MM-dd".
std::string FormatDiaryDate(std::int64_t day);

// The diary's lines in file order; lines that do not read (a field missing or out of range,
// as a hand edit leaves them) are skipped.
std::vector<HealthEntry> ReadHealthDiary(const std::filesystem::path& path);

struct HealthLinesWritten {
    int count = 0;
    // Every battery read has its line of the day; false also when one gave no figures.
    bool complete = false;
};

// Appends today's line for each battery that has none yet, each synced, the header first
// in a new file. A folder or file that cannot be written writes nothing and leaves the
// program running.
HealthLinesWritten WriteHealthLines(const std::filesystem::path& path, std::int64_t today,
                                    const std::vector<BatteryHealthReading>& readings);

// Keeps the diary from the monitor's clock: reads the batteries once when the day begins
// (or the program starts), and again each hour until every battery's line of the day is in.
class HealthKeeper {
public:
    HealthKeeper(BatteryHealthSource& source, std::filesystem::path path)
        : m_source(source), m_path(std::move(path)) {}

    // Cheap when the day's lines are in: a comparison of dates.
    void Tick(CivilTime now);

private:
    BatteryHealthSource& m_source;
    std::filesystem::path m_path;
    std::optional<std::int64_t> m_doneDay;
    std::optional<CivilTime> m_nextTry;
};

} // namespace amperlog
