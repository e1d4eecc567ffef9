#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace amperlog {

struct MonitorState;

// The program folder followed by "Data". Does not touch the disk.
std::filesystem::path GetDatafolder(const std::filesystem::path& programFolder);

// Sets DataFolder and creates the folder when no entry of that name exists (a file named
// "Data" counts as existing). Returns whether DataFolder is a usable directory.
bool PrepareDataFolder(MonitorState& state, const std::filesystem::path& programFolder);

// Names matching "????????.txt" in ascending name order: the daily logs.
std::vector<std::string> ListLogCatalogue(const std::filesystem::path& folder);

// Whether the folder holds at least one file matching "*.txt".
bool HasAnyTextFile(const std::filesystem::path& folder);

} // namespace amperlog
