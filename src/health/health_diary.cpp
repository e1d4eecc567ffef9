#include "health/health_diary.h"

#include "datalog/daily_log.h"
#include "datalog/data_folder.h"
#include "datalog/log_line_reader.h"
#include "helpers/numeric.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <set>
#include <string_view>
#include <system_error>

namespace amperlog {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHeader = "date,battery,design_wh,full_wh,health_percent,cycles\n";
constexpr std::int64_t kRetrySeconds = 3600;

// A diary hand-edited to absurd figures; no battery comes near.
constexpr double kMostWattHours = 1e5;

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

// from_chars also takes "nan" and "inf": a diary holds neither.
std::optional<double> ParseNumber(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> ParseCount(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    // Older lines wrote a count the driver did not know as -1.
    return std::max(value, 0);
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
    const std::optional<int> cycles = ParseCount(fields[5]);
    if (!day || !health || !cycles || fields[1].empty() || *health <= 0 ||
        *health > kMostFullOfDesign * 100) {
        return std::nullopt;
    }
    HealthEntry entry;
    entry.day = *day;
    entry.identity = std::string(fields[1]);
    // Both capacities or neither (a battery that gives only their ratio).
    if (!fields[2].empty() || !fields[3].empty()) {
        entry.designWh = ParseNumber(fields[2]);
        entry.fullWh = ParseNumber(fields[3]);
        if (!entry.designWh || !entry.fullWh || *entry.designWh > kMostWattHours ||
            !IsPlausibleHealth(*entry.designWh, *entry.fullWh)) {
            return std::nullopt;
        }
    }
    entry.healthPercent = *health;
    entry.cycles = *cycles;
    return entry;
}

} // namespace

fs::path HealthDiaryPath(const fs::path& programFolder) {
    return GetDatafolder(programFolder) / "health.csv";
}

std::vector<std::string> BatteryIdentities(const std::vector<BatteryHealthReading>& readings) {
    std::vector<std::string> names;
    for (const BatteryHealthReading& reading : readings) {
        std::string name;
        for (const std::string* part : {&reading.manufacturer, &reading.model, &reading.serial}) {
            if (!part->empty()) {
                name += (name.empty() ? "" : " ") + *part;
            }
        }
        names.push_back(std::move(name));
    }
    std::vector<std::string> identities;
    for (std::size_t i = 0; i < readings.size(); ++i) {
        std::string identity = names[i];
        // Without a serial two of a make look alike, also on a day one of them is out: the
        // supply's name joins whenever it is missing, so a series keeps its name.
        const bool alike =
            readings[i].serial.empty() || std::count(names.begin(), names.end(), names[i]) > 1;
        if (alike && !readings[i].supply.empty()) {
            identity += (identity.empty() ? "" : " ") + readings[i].supply;
        }
        if (identity.empty()) {
            identity = "battery";
        }
        // A field of its own in a CSV line.
        std::replace_if(
            identity.begin(), identity.end(),
            [](char c) { return c == ',' || c == '"' || c == '\n' || c == '\r'; }, ' ');
        identities.push_back(std::move(identity));
    }
    return identities;
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

HealthLinesWritten WriteHealthLines(const fs::path& path, std::int64_t today,
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
    const std::vector<std::string> identities = BatteryIdentities(readings);
    HealthLinesWritten result;
    result.complete = !readings.empty();
    for (std::size_t i = 0; i < readings.size(); ++i) {
        const BatteryHealthReading& reading = readings[i];
        if (!IsPlausibleHealth(reading.designWh, reading.fullWh)) {
            result.complete = false;
            continue;
        }
        if (written.count(identities[i]) != 0) {
            continue;
        }
        std::string line = result.count == 0 && fresh ? std::string(kHeader) : std::string();
        line += FormatDiaryDate(today) + ',' + identities[i] + ',';
        if (!reading.ratioOnly) {
            line +=
                FormatDecimal(reading.designWh, 2) + ',' + FormatDecimal(reading.fullWh, 2) + ',';
        } else {
            line += ",,";
        }
        line += FormatDecimal(HealthPercent(reading), 1) + ',' +
                std::to_string(std::max(reading.cycles, 0)) + '\n';
        if (!AppendWholeLine(path, line)) {
            result.complete = false;
            break;
        }
        written.insert(identities[i]);
        ++result.count;
    }
    return result;
}

void HealthKeeper::Tick(CivilTime now) {
    const std::int64_t today = now.DayNumber();
    if (m_doneDay == today || (m_nextTry && now < *m_nextTry && m_nextTry->DayNumber() == today)) {
        return;
    }
    // A battery that gave no figures, or a diary that took no line, is tried again in an
    // hour, not every second; the lines already in stay single.
    if (WriteHealthLines(m_path, today, m_source.Read()).complete) {
        m_doneDay = today;
    } else {
        m_nextTry = now.AddSeconds(kRetrySeconds);
    }
}

} // namespace amperlog
