#include "sleep/sleep_diary.h"

#include "datalog/daily_log.h"

#include <array>
#include <charconv>
#include <system_error>

namespace amperlog {
namespace {

void AppendInteger(std::string& out, std::int64_t value, int width = 0) {
    std::array<char, 24> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    const std::string_view digits(buffer.data(),
                                  static_cast<std::size_t>(result.ptr - buffer.data()));
    if (static_cast<int>(digits.size()) < width) {
        out.append(static_cast<std::size_t>(width) - digits.size(), '0');
    }
    out += digits;
}

// "YYYY-MM-DDTHH:MM:SS".
void AppendTime(std::string& out, CivilTime t) {
    AppendInteger(out, t.Year(), 4);
    out += '-';
    AppendInteger(out, t.Month(), 2);
    out += '-';
    AppendInteger(out, t.Day(), 2);
    out += 'T';
    AppendInteger(out, t.Hour(), 2);
    out += ':';
    AppendInteger(out, t.Minute(), 2);
    out += ':';
    AppendInteger(out, t.Second(), 2);
}

void AppendWh(std::string& out, std::optional<double> wh) {
    if (!wh) {
        return;
    }
    std::array<char, 40> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), *wh,
                                      std::chars_format::fixed, 2);
    if (result.ec == std::errc()) {
        out.append(buffer.data(), result.ptr);
    }
}

template <typename T>
void AppendOptional(std::string& out, std::optional<T> value) {
    if (value) {
        AppendInteger(out, static_cast<std::int64_t>(*value));
    }
}

} // namespace

std::string FormatSleepLine(const SleepRecord& record) {
    std::string line;
    AppendTime(line, record.start);
    line += ',';
    AppendTime(line, record.end);
    line += ',';
    AppendInteger(line, record.seconds);
    line += ',';
    AppendOptional(line, record.percentBefore);
    line += ',';
    AppendOptional(line, record.percentAfter);
    line += ',';
    AppendWh(line, record.whBefore);
    line += ',';
    AppendWh(line, record.whAfter);
    line += ',';
    AppendOptional(line, record.onMainsBefore);
    line += ',';
    AppendOptional(line, record.onMainsAfter);
    line += '\n';
    return line;
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
