#pragma once

#include "helpers/civil_time.h"

#include <filesystem>
#include <ostream>

namespace amperlog {

class BatteryHealthSource;

// --health: the report alone, no window, no lock. Prints the batteries' readings and each
// diary series' trend. The exit code: 0 with a reading, 1 without.
int RunHealthCommand(BatteryHealthSource& source, const std::filesystem::path& programFolder,
                     CivilTime now, std::ostream& out);

} // namespace amperlog
