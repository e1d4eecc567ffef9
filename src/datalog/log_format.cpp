#include "datalog/log_format.h"

#include "helpers/numeric.h"
#include "state/monitor_state.h"

#include <array>
#include <cstdio>
#include <limits>

namespace amperlog {
namespace {

// Reads up to two digits at `pos`, then expects `next` (or the end when next is 0).
bool ReadShortNumber(std::string_view text, std::size_t& pos, char next, int& value) {
    const std::size_t start = pos;
    value = 0;
    while (pos < text.size() && pos - start < 2 && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    if (pos == start) {
        return false;
    }
    if (next == 0) {
        return pos == text.size();
    }
    if (pos >= text.size() || text[pos] != next) {
        return false;
    }
    ++pos;
    return true;
}

// The stamp exactly as the writer spells it, "M/dd HH:mm:ss".
std::optional<CivilTime> ParseCanonicalStamp(std::string_view text, int year) {
    std::size_t pos = 0;
    std::array<int, 5> parts{};
    if (!ReadShortNumber(text, pos, '/', parts[0]) || !ReadShortNumber(text, pos, ' ', parts[1]) ||
        !ReadShortNumber(text, pos, ':', parts[2]) || !ReadShortNumber(text, pos, ':', parts[3]) ||
        !ReadShortNumber(text, pos, 0, parts[4])) {
        return std::nullopt;
    }
    return CivilTime::FromParts(year, parts[0], parts[1], parts[2], parts[3], parts[4]);
}

std::string CutField(std::string_view field) {
    return std::string(field.substr(0, kMaxSampleFieldBytes));
}

// A percent beyond the range of a single is no value.
float PercentOf(std::string_view field) {
    const double value = NumericValue(field);
    if (value > std::numeric_limits<float>::max() || value < -std::numeric_limits<float>::max()) {
        return 0;
    }
    return static_cast<float>(value);
}

} // namespace

std::string FormatLogStamp(CivilTime t) {
    std::array<char, 48> buffer{};
    const int n = std::snprintf(buffer.data(), buffer.size(), "%d/%02d %02d:%02d:%02d", t.Month(),
                                t.Day(), t.Hour(), t.Minute(), t.Second());
    return n > 0 ? std::string(buffer.data(), static_cast<std::size_t>(n)) : std::string();
}

std::string FormatFileDate(CivilTime t) {
    std::array<char, 32> buffer{};
    const int n =
        std::snprintf(buffer.data(), buffer.size(), "%04d%02d%02d", t.Year(), t.Month(), t.Day());
    return n > 0 ? std::string(buffer.data(), static_cast<std::size_t>(n)) : std::string();
}

std::string LogFileName(CivilTime t) {
    return FormatFileDate(t) + ".txt";
}

std::optional<CivilTime> ParseLogStamp(std::string_view text, int year) {
    if (auto fast = ParseCanonicalStamp(text, year)) {
        return fast;
    }
    return ParseMonthDayTime(text, year);
}

std::optional<int> YearFromLogFileName(std::string_view fileName) {
    if (fileName.size() < 8) {
        return std::nullopt;
    }
    int parts[3] = {0, 0, 0};
    const int widths[3] = {4, 2, 2};
    std::size_t pos = 0;
    for (int p = 0; p < 3; ++p) {
        for (int k = 0; k < widths[p]; ++k, ++pos) {
            const char c = fileName[pos];
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
            parts[p] = parts[p] * 10 + (c - '0');
        }
    }
    const std::string_view rest = fileName.substr(8);
    if (!rest.empty() && rest.front() != '.') {
        return std::nullopt;
    }
    if (!CivilTime::FromParts(parts[0], parts[1], parts[2])) {
        return std::nullopt;
    }
    return parts[0];
}

std::string FormatLogLine(CivilTime now, const MonitorState& state, std::string_view marker) {
    std::string line = FormatLogStamp(now);
    for (const std::string_view field :
         {std::string_view(state.PowerText), std::string_view(state.PercentText),
          std::string_view(state.RemainText), marker}) {
        line += ',';
        line += field;
    }
    return line;
}

std::optional<ParsedLogLine> ParseDaySampleLine(std::string_view line, int year) {
    if (line.empty()) {
        return std::nullopt;
    }
    // Missing fields count as empty, as if commas were appended up to the sixth.
    std::array<std::string_view, 6> fields{};
    std::size_t start = 0;
    for (std::size_t k = 0; k < fields.size() && start <= line.size(); ++k) {
        const std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            fields[k] = line.substr(start);
            start = line.size() + 1;
        } else {
            fields[k] = line.substr(start, comma - start);
            start = comma + 1;
        }
    }
    const auto time = ParseLogStamp(fields[0], year);
    if (!time) {
        return std::nullopt;
    }
    ParsedLogLine parsed;
    parsed.sample.Time = *time;
    parsed.sample.Power = CutField(fields[1]);
    parsed.sample.Percent = PercentOf(fields[2]);
    parsed.sample.Remain = CutField(fields[3]);
    parsed.sample.Marker = CutField(fields[4]);
    parsed.hasSixthField = !fields[5].empty();
    return parsed;
}

} // namespace amperlog
