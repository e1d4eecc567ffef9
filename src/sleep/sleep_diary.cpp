#include "sleep/sleep_diary.h"

#include "datalog/daily_log.h"
#include "helpers/civil_time.h"
#include "helpers/numeric.h"

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

} // namespace amperlog
