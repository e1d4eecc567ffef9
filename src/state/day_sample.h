#pragma once

#include "helpers/civil_time.h"

#include <string>

namespace amperlog {

// One loaded log line.
struct DaySample {
    CivilTime Time;
    std::string Power;
    float Percent = 0;
    std::string Remain;
    std::string Marker;
};

} // namespace amperlog
