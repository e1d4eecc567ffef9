#pragma once

#include "helpers/civil_time.h"
#include "state/day_sample.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace amperlog {

struct MonitorState;

// A daily log line: "M/dd HH:mm:ss,<power>,<percent>,<remain>,<marker>", ended by CR LF.
// Readers take a sixth field when a hand edit left one; the writer never writes it.
inline constexpr std::string_view kLogLineEnd = "\r\n";

// The fifth field: why the line was written.
inline constexpr std::string_view kMarkerChange = "";                // the sampled status changed
inline constexpr std::string_view kMarkerInterval = "+";             // the logging interval passed
inline constexpr std::string_view kMarkerDayChanged = "day changed"; // first tick of a new day
inline constexpr std::string_view kMarkerStartup = "Monitor"; // first line of the day at start

// Stored text fields are cut here; the writer's longest is "day changed".
inline constexpr std::size_t kMaxSampleFieldBytes = 64;

// "M/dd HH:mm:ss", the line's time stamp: 1/07 00:00:01, 12/06 09:05:07.
std::string FormatLogStamp(CivilTime t);
// "yyyyMMdd", the file name's stem.
std::string FormatFileDate(CivilTime t);
// "yyyyMMdd.txt": the daily log's file name for the day of t.
std::string LogFileName(CivilTime t);

// Reads a time stamp "M/d H:m:s" (also "M/d H:m" and "M/d") with the given year. Blanks
// around the parts are allowed; anything else that does not make a valid date fails. The
// writer's own spelling is read without the general parser's work: a day holds 86,400.
std::optional<CivilTime> ParseLogStamp(std::string_view text, int year);

// The year taken from a daily log's file name "yyyyMMdd.txt" when it is a valid date.
std::optional<int> YearFromLogFileName(std::string_view fileName);

// The line for the shared state's power, percent and remain texts, without the line end.
std::string FormatLogLine(CivilTime now, const MonitorState& state, std::string_view marker);

// One log line as a sample, its time stamp read with the given year. nullopt for an empty
// line and for a line whose time stamp is not a date: such a line is no sample.
struct ParsedLogLine {
    DaySample sample;
    bool hasSixthField = false;
};
std::optional<ParsedLogLine> ParseDaySampleLine(std::string_view line, int year);

} // namespace amperlog
