#pragma once

#include "graphs/health_graph.h"
#include "health/health_diary.h"

#include <cstdint>
#include <vector>

namespace amperlog {

// What the health view draws: the diary's series and, above them, the report's lines.
HealthGraphInput HealthViewInput(const std::vector<BatteryHealthReading>& readings,
                                 const std::vector<HealthEntry>& diary, std::int64_t today);

} // namespace amperlog
