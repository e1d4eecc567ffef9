#pragma once

#include "helpers/civil_time.h"
#include "state/monitor_state.h"

namespace amperlog {

// The present rate of change of the charge in percentage points per minute (negative while
// discharging): from the oldest of the newest RateBand loaded samples taken under the present
// PowerText, to PercentText at now. 0 when DaySamples was never loaded, holds no more than
// RateBand samples, or no sample of the window matches. The caller sets RateBand first.
float GetEstimateRate(const MonitorState& state, CivilTime now);

} // namespace amperlog
