#pragma once

#include "helpers/civil_time.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace amperlog {

inline constexpr std::string_view kSleepDiaryName = "sleep.csv";
inline constexpr std::string_view kSleepDiaryHeader =
    "start,end,seconds,percent_before,percent_after,wh_before,wh_after,on_mains_before,"
    "on_mains_after\n";

// One sleep and the battery on either side of it; what the system did not tell stays empty.
struct SleepRecord {
    CivilTime start;
    CivilTime end;
    std::int64_t seconds = 0;
    std::optional<int> percentBefore;
    std::optional<int> percentAfter;
    std::optional<double> whBefore;
    std::optional<double> whAfter;
    std::optional<bool> onMainsBefore;
    std::optional<bool> onMainsAfter;
};

// The line with its end, its numbers with a point whatever the locale.
std::string FormatSleepLine(const SleepRecord& record);

// Appends the line, after the header when the file is new or empty, with one synced write.
// False when the folder or the file took nothing.
bool WriteSleepLine(const std::filesystem::path& path, const SleepRecord& record);

// The diary's lines in file order; a line that does not read (a hand edit) is skipped.
std::vector<SleepRecord> ReadSleepDiary(const std::filesystem::path& path);

} // namespace amperlog
