#pragma once

#include "helpers/civil_time.h"

#include <string>
#include <string_view>

namespace amperlog {

class DrawingSurface;
class SettingsStore;
struct MainWindowModel;
struct MonitorState;

// The remaining time for a number of seconds given as text: minutes alone under an hour
// ("45"), else hours "+" minutes ("1+30"); minutes round halves to even and 60 of them carry
// into the hour ("2+0", never "1+60"). Empty for 0 or less, or no number.
std::string FormatRemainTime(std::string_view seconds);

// lblRate: the present change rate in percent an hour ("-12%") on battery, the mains word
// of the catalogue on mains. Sets RateBand from "Band" (default 5) first. Leaves the caption alone
// while DaySamples has never been loaded.
void ShowChangeRate(MonitorState& state, MainWindowModel& model, SettingsStore& settings,
                    CivilTime now);

// Refreshes the status panel from the latest sample: the gauge on picBattery, the adapter
// face, the remaining time, the charge and its colour, the voice face and the change rate.
void DispPanel(MonitorState& state, MainWindowModel& model, SettingsStore& settings,
               DrawingSurface& picBattery, CivilTime now);

} // namespace amperlog
