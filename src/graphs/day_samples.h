#pragma once

#include "helpers/civil_time.h"
#include "state/monitor_state.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace amperlog {

struct MainWindowModel;

// A day logged once a second holds 86,400 lines; this leaves room for restarts and clock
// changes while keeping a hostile file from filling the memory.
inline constexpr std::size_t kMaxDaySamples = 262'144;
// Stored text fields are cut here; the writer's longest is "day changed".
inline constexpr std::size_t kMaxSampleFieldBytes = 64;

// DataFolder joined with the caption of lblTargetName: the log that the graphs show.
std::filesystem::path GetGraphFilePath(const MonitorState& state, const MainWindowModel& window);

// One log line as a sample, its time stamp read with the given year. nullopt for an empty
// line and for a line whose time stamp is not a date: such a line is no sample.
struct ParsedLogLine {
    DaySample sample;
    bool hasSixthField = false;
};
std::optional<ParsedLogLine> ParseDaySampleLine(std::string_view line, int year);

// Loads the graphed log into DaySamples and returns the number of samples loaded. Sets
// GraphFilePath; shows "データ   m/n" in lblLineCount when the file opened. A load that finds
// no sample keeps the previous samples. Time stamps take their year from the file's name
// when it is a valid date, else from `now`.
std::int32_t LoadDaySamples(MonitorState& state, MainWindowModel& window, CivilTime now);

// GraphStartHour and GraphEndTime from the loaded samples: the first sample's hour and the
// last sample's time. Does nothing while no sample is loaded.
void SetGraphTimes(MonitorState& state);

} // namespace amperlog
