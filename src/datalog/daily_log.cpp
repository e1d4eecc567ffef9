#include "datalog/daily_log.h"

#include "datalog/log_line_reader.h"
#include "platform/synced_append.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "state/monitor_state.h"

#include <fstream>
#include <system_error>

namespace amperlog {
namespace {

// A log line is a few dozen bytes; anything longer was not written by us and is skipped
// without keeping it in memory.
constexpr std::size_t kMaxStampLineBytes = 4096;

bool EndsInTornLine(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        return false;
    }
    const auto size = in.tellg();
    if (size <= 0) {
        return false;
    }
    in.seekg(-1, std::ios::end);
    char last = 0;
    if (!in.get(last)) {
        return false;
    }
    return last != '\n' && last != '\r';
}

} // namespace

bool AppendWholeLine(const std::filesystem::path& path, std::string_view lineWithEnd) {
    std::error_code ec;
    const std::uintmax_t sizeBefore = std::filesystem::file_size(path, ec);
    const bool existed = !ec;
    std::string bytes;
    if (EndsInTornLine(path)) {
        bytes = kLogLineEnd;
    }
    bytes += lineWithEnd;
    if (AppendSynced(path, bytes)) {
        return true;
    }
    // A full disk takes part of a line: cut it off again, or it would be read as a sample
    // with a wrong charge.
    std::filesystem::resize_file(path, existed ? sizeBefore : 0, ec);
    return false;
}

bool WriteLogLine(MonitorState& state, SettingsStore& settings, CivilTime now,
                  std::string_view marker) {
    const std::filesystem::path path = state.DataFolder / LogFileName(now);
    const bool written =
        AppendWholeLine(path, FormatLogLine(now, state, marker).append(kLogLineEnd));
    std::error_code ec;
    if (!written && !std::filesystem::exists(path, ec)) {
        return false; // the open failed: the last line's time stays as it was
    }
    state.LastLogTime = now;
    // The line is synced, the settings file's replace is not: it changes with every moving
    // sample, and a newest value lost to a power cut costs at most one extra line.
    state.LogTimeUnstored = !settings.WriteWorkSetting(kKeyLogTime, FormatSettingsTime(now));
    return written;
}

std::optional<CivilTime> ReadLastLogTime(const std::filesystem::path& path, int fallbackYear) {
    LogLineReader reader(path, kMaxStampLineBytes);
    if (!reader.IsOpen()) {
        return std::nullopt;
    }
    const std::u8string name = path.filename().u8string();
    const int year =
        YearFromLogFileName(std::string(name.begin(), name.end())).value_or(fallbackYear);
    std::optional<CivilTime> last;
    std::string line;
    while (reader.Next(line)) {
        if (line.empty() || reader.WasCut()) {
            continue;
        }
        if (const auto t = ParseLogStamp(std::string_view(line).substr(0, line.find(',')), year)) {
            last = t;
        }
    }
    return last;
}

} // namespace amperlog
