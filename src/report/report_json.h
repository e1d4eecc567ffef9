#pragma once

#include "usage/battery_report.h"

#include <string>

namespace amperlog {

// The report's figures for scripts, one JSON object:
//   days: [{date, battery_s, mains_s, asleep_s, unseen_s, used_percent,
//           drain_percent_per_hour, drain_w}]            oldest first
//   sleeps: [{start, end, seconds, percent_before, percent_after, wh_before, wh_after,
//             on_mains}]                                   on_mains: before the sleep
//   estimates: {full_charge_h, design_charge_h}
//   batteries: [{date, battery, design_wh, full_wh, health_percent, cycles}]
// null where a figure is unknown; numbers with a point whatever the locale.
std::string ReportJson(const BatteryReport& report);

} // namespace amperlog
