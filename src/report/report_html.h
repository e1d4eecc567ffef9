#pragma once

#include "texts/catalogue.h"
#include "usage/battery_report.h"

#include <string>
#include <string_view>

namespace amperlog {

// The report as one self-contained HTML page in the language given: inline CSS and SVG, no
// script and nothing fetched, so it reads offline and prints on A4. It holds the batteries,
// the life estimates, the capacity history with each battery's trend, usage per day (chart
// and table) and the sleeps. Every text from the system is escaped.
std::string ReportHtml(const BatteryReport& report, std::string_view programFolder,
                       Language language);

} // namespace amperlog
