#pragma once

#include "graphs/text_table.h"
#include "graphs/usage_graph.h"
#include "usage/battery_report.h"

namespace amperlog {

// The Usage page: a bar per day of the report, the life estimate above them.
UsageGraphInput UsagePageInput(const BatteryReport& report);

// The Sleep page: the median drain asleep over the sleeps, newest first; a sentence when
// there is none.
TextTableInput SleepPageInput(const BatteryReport& report);

} // namespace amperlog
