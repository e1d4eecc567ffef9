#include "graphs/day_samples.h"

#include "graphs/log_line_reader.h"
#include "helpers/numeric.h"
#include "window/window_model.h"

#include <array>
#include <limits>
#include <string>

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

// The stamp exactly as the writer spells it, "M/dd HH:mm:ss", without the general reader's
// work: a loaded day can hold 86,400 of them.
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

std::optional<CivilTime> ParseStamp(std::string_view text, int year) {
    if (auto fast = ParseCanonicalStamp(text, year)) {
        return fast;
    }
    return ParseLogStamp(text, year);
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

std::filesystem::path GetGraphFilePath(const MonitorState& state, const MainWindowModel& window) {
    const std::u8string name(window.lblTargetName.begin(), window.lblTargetName.end());
    return state.DataFolder / std::filesystem::path(name);
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
    const auto time = ParseStamp(fields[0], year);
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

std::int32_t LoadDaySamples(MonitorState& state, MainWindowModel& window, CivilTime now) {
    state.GraphFilePath = GetGraphFilePath(state, window);
    const int year = YearFromLogFileName(window.lblTargetName).value_or(now.Year());
    LogLineReader reader(state.GraphFilePath);
    if (!reader.IsOpen()) {
        return 0;
    }
    // Records overwrite the previous ones from index 0 and the table is cut to the new count
    // at the end, so a file without a sample leaves the previous samples in place; reusing
    // the storage spares a refresh most of its allocations.
    const bool wasLoaded = state.DaySamples.has_value();
    std::vector<DaySample>& samples = wasLoaded ? *state.DaySamples : state.DaySamples.emplace();
    std::size_t count = 0;
    std::int32_t sixthFieldCount = 0;
    std::string line;
    while (count < kMaxDaySamples && reader.Next(line)) {
        auto parsed = ParseDaySampleLine(line, year);
        if (!parsed) {
            continue;
        }
        if (parsed->hasSixthField) {
            ++sixthFieldCount;
        }
        if (count < samples.size()) {
            samples[count] = std::move(parsed->sample);
        } else {
            samples.push_back(std::move(parsed->sample));
        }
        ++count;
    }
    if (count > 0) {
        samples.resize(count);
    } else if (!wasLoaded) {
        state.DaySamples.reset(); // still never loaded
    }
    window.lblLineCount =
        "データ   " + std::to_string(sixthFieldCount) + "/" + std::to_string(count);
    return static_cast<std::int32_t>(count);
}

void SetGraphTimes(MonitorState& state) {
    if (!state.DaySamples || state.DaySamples->empty()) {
        return;
    }
    state.GraphStartHour = state.DaySamples->front().Time.StartOfHour();
    state.GraphEndTime = state.DaySamples->back().Time;
}

} // namespace amperlog
