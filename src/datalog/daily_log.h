#pragma once

#include "datalog/log_format.h"
#include "helpers/civil_time.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace amperlog {

struct MonitorState;
class SettingsStore;

// Appends one line to today's file in DataFolder and records its time under "Logtime".
// Returns false when the line could not be written whole (the line alone is lost).
bool WriteLogLine(MonitorState& state, SettingsStore& settings, CivilTime now,
                  std::string_view marker);

// The time stamp of the last line with a readable one; nullopt for a missing, unreadable or
// empty file. The year comes from the file's name when it is a "yyyyMMdd" date, else from
// fallbackYear.
std::optional<CivilTime> ReadLastLogTime(const std::filesystem::path& path, int fallbackYear);

// Appends bytes to a file with one write call; when the file ends in a torn line (no line
// end, after a crash) a line end goes first so nothing is glued to it. A write that fails
// part way (a full disk) is cut off again: the file is left as it was.
bool AppendWholeLine(const std::filesystem::path& path, std::string_view lineWithEnd);

} // namespace amperlog
