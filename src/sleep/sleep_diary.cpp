#include "sleep/sleep_diary.h"

#include "datalog/daily_log.h"
#include "datalog/log_line_reader.h"
#include "helpers/civil_time.h"
#include "helpers/numeric.h"

#include <array>
#include <system_error>

namespace amperlog {
namespace {

// Empty where the figure is unknown.
template <typename T>
std::string Whole(std::optional<T> value) {
    return value ? std::to_string(static_cast<std::int64_t>(*value)) : std::string();
}

std::string Wh(std::optional<double> wh) {
    return wh ? FormatDecimal(*wh, 2) : std::string();
}

// An empty field is an unknown figure; anything else must read whole.
template <typename T, typename Parse>
bool ReadOptional(std::string_view field, Parse parse, std::optional<T>& out) {
    if (field.empty()) {
        out.reset();
        return true;
    }
    const auto value = parse(field);
    if (!value) {
        return false;
    }
    out = static_cast<T>(*value);
    return true;
}

constexpr std::size_t kFields = 9;

std::optional<SleepRecord> ParseSleepLine(std::string_view line) {
    std::array<std::string_view, kFields> fields{};
    std::size_t start = 0;
    for (std::size_t k = 0; k < kFields; ++k) {
        const std::size_t comma = line.find(',', start);
        if ((comma == std::string_view::npos) != (k + 1 == kFields)) {
            return std::nullopt; // too few or too many fields
        }
        fields[k] = line.substr(start, comma - start);
        start = comma + 1;
    }
    SleepRecord record;
    const std::optional<CivilTime> begin = ParseIsoTime(fields[0]);
    const std::optional<CivilTime> end = ParseIsoTime(fields[1]);
    const std::optional<std::int64_t> seconds = ParseWholeNumber(fields[2]);
    const auto percent = [](std::string_view text) {
        const std::optional<std::int64_t> value = ParseWholeNumber(text);
        return value && *value >= 0 && *value <= 100 ? value : std::nullopt;
    };
    const auto flag = [](std::string_view text) {
        const std::optional<std::int64_t> value = ParseWholeNumber(text);
        return value && (*value == 0 || *value == 1) ? value : std::nullopt;
    };
    if (!begin || !end || !seconds || *seconds < 0 ||
        !ReadOptional(fields[3], percent, record.percentBefore) ||
        !ReadOptional(fields[4], percent, record.percentAfter) ||
        !ReadOptional(fields[5], ParseDecimalNumber, record.whBefore) ||
        !ReadOptional(fields[6], ParseDecimalNumber, record.whAfter) ||
        !ReadOptional(fields[7], flag, record.onMainsBefore) ||
        !ReadOptional(fields[8], flag, record.onMainsAfter)) {
        return std::nullopt;
    }
    record.start = *begin;
    record.end = *end;
    record.seconds = *seconds;
    return record;
}

} // namespace

std::string FormatSleepLine(const SleepRecord& record) {
    return FormatIsoTime(record.start) + ',' + FormatIsoTime(record.end) + ',' +
           std::to_string(record.seconds) + ',' + Whole(record.percentBefore) + ',' +
           Whole(record.percentAfter) + ',' + Wh(record.whBefore) + ',' + Wh(record.whAfter) + ',' +
           Whole(record.onMainsBefore) + ',' + Whole(record.onMainsAfter) + '\n';
}

bool WriteSleepLine(const std::filesystem::path& path, const SleepRecord& record) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    const bool fresh = std::filesystem::file_size(path, error) == 0 || error;
    std::string bytes = fresh ? std::string(kSleepDiaryHeader) : std::string();
    bytes += FormatSleepLine(record);
    return AppendWholeLine(path, bytes);
}

std::vector<SleepRecord> ReadSleepDiary(const std::filesystem::path& path) {
    std::vector<SleepRecord> records;
    LogLineReader reader(path);
    std::string line;
    while (reader.Next(line)) {
        if (std::optional<SleepRecord> record = ParseSleepLine(line)) {
            records.push_back(*record);
        }
    }
    return records;
}

} // namespace amperlog
