#include "health/health_diary.h"

#include "datalog/daily_log.h"
#include "datalog/data_folder.h"
#include "datalog/log_line_reader.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <set>
#include <string_view>
#include <system_error>

namespace amperlog {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHeader = "date,battery,design_wh,full_wh,health_percent,cycles\n";
constexpr std::int64_t kRetrySeconds = 3600;

std::string Fixed(double value, int decimals) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string_view::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

std::optional<double> ParseNumber(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int64_t> ParseDate(std::string_view text) {
    int year = 0;
    int month = 0;
    int day = 0;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const auto part = [&text](std::size_t at, std::size_t size, int& out) {
        const char* first = text.data() + at;
        const auto [end, error] = std::from_chars(first, first + size, out);
        return error == std::errc() && end == first + size;
    };
    if (!part(0, 4, year) || !part(5, 2, month) || !part(8, 2, day)) {
        return std::nullopt;
    }
    const std::optional<CivilTime> date = CivilTime::FromParts(year, month, day);
    if (!date) {
        return std::nullopt;
    }
    return date->DayNumber();
}

std::optional<HealthEntry> ParseLine(std::string_view line) {
    const std::vector<std::string_view> fields = SplitFields(line);
    if (fields.size() != 6) {
        return std::nullopt;
    }
    const std::optional<std::int64_t> day = ParseDate(fields[0]);
    const std::optional<double> health = ParseNumber(fields[4]);
    const std::optional<double> cycles = ParseNumber(fields[5]);
    if (!day || !health || !cycles || fields[1].empty()) {
        return std::nullopt;
    }
    HealthEntry entry;
    entry.day = *day;
    entry.identity = std::string(fields[1]);
    entry.designWh = ParseNumber(fields[2]);
    entry.fullWh = ParseNumber(fields[3]);
    entry.healthPercent = *health;
    entry.cycles = static_cast<int>(*cycles);
    return entry;
}

} // namespace

fs::path HealthDiaryPath(const fs::path& programFolder) {
    return GetDatafolder(programFolder) / "health.csv";
}

std::string BatteryIdentity(const BatteryHealthReading& reading) {
    std::string identity;
    for (const std::string* part : {&reading.manufacturer, &reading.model, &reading.serial}) {
        if (part->empty()) {
            continue;
        }
        if (!identity.empty()) {
            identity += ' ';
        }
        identity += *part;
    }
    // A field of its own in a CSV line.
    std::replace_if(
        identity.begin(), identity.end(),
        [](char c) { return c == ',' || c == '"' || c == '\n' || c == '\r'; }, ' ');
    return identity.empty() ? std::string("battery") : identity;
}

double HealthPercent(const BatteryHealthReading& reading) {
    return reading.fullWh / reading.designWh * 100;
}

std::string FormatDiaryDate(std::int64_t day) {
    const CivilTime date = CivilTime::FromSerial(day * CivilTime::kSecondsPerDay);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.Year(), date.Month(), date.Day());
    return buffer;
}

// The diary grows by a line a day: read whole, it stays small next to a day's log.
std::vector<HealthEntry> ReadHealthDiary(const fs::path& path) {
    std::vector<HealthEntry> entries;
    LogLineReader reader(path);
    std::string line;
    while (reader.Next(line)) {
        if (std::optional<HealthEntry> entry = ParseLine(line)) {
            entries.push_back(std::move(*entry));
        }
    }
    return entries;
}

int WriteHealthLines(const fs::path& path, std::int64_t today,
                     const std::vector<BatteryHealthReading>& readings) {
    std::set<std::string> written;
    for (const HealthEntry& entry : ReadHealthDiary(path)) {
        if (entry.day == today) {
            written.insert(entry.identity);
        }
    }
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    const bool fresh = fs::file_size(path, error) == 0 || error;
    int count = 0;
    for (const BatteryHealthReading& reading : readings) {
        if (!IsPlausibleHealth(reading.designWh, reading.fullWh)) {
            continue;
        }
        const std::string identity = BatteryIdentity(reading);
        if (!written.insert(identity).second) {
            continue;
        }
        std::string line = count == 0 && fresh ? std::string(kHeader) : std::string();
        line += FormatDiaryDate(today) + ',' + identity + ',';
        if (!reading.ratioOnly) {
            line += Fixed(reading.designWh, 2) + ',' + Fixed(reading.fullWh, 2) + ',';
        } else {
            line += ",,";
        }
        line += Fixed(HealthPercent(reading), 1) + ',' + std::to_string(reading.cycles) + '\n';
        if (!AppendWholeLine(path, line)) {
            break;
        }
        ++count;
    }
    return count;
}

void HealthKeeper::Tick(CivilTime now) {
    const std::int64_t today = now.DayNumber();
    if (m_doneDay == today || (m_nextTry && now < *m_nextTry && m_nextTry->DayNumber() == today)) {
        return;
    }
    const std::vector<BatteryHealthReading> readings = m_source.Read();
    const bool good = std::any_of(readings.begin(), readings.end(), [](const auto& r) {
        return IsPlausibleHealth(r.designWh, r.fullWh);
    });
    if (good) {
        WriteHealthLines(m_path, today, readings);
        // A folder that takes no file is tried again tomorrow, not every second.
        m_doneDay = today;
    } else {
        m_nextTry = now.AddSeconds(kRetrySeconds);
    }
}

} // namespace amperlog
