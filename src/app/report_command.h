#pragma once

#include "helpers/civil_time.h"
#include "texts/catalogue.h"

#include <filesystem>
#include <ostream>
#include <string>

namespace amperlog {

class TimeZoneRules;

// --report FILE: the battery report of the program folder written to file, no window, no
// lock, beside a running copy. The logging interval is the settings file's, as the monitor
// reads it. The exit code: 0 written; 1 not written (a message on err); 2 for a file whose
// ending asks for no report the program makes.
int RunReportCommand(const std::filesystem::path& programFolder, const std::string& exeName,
                     const std::filesystem::path& file, CivilTime now, const TimeZoneRules& zone,
                     Language language, std::ostream& err);

} // namespace amperlog
