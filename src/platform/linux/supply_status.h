#pragma once

#include "platform/linux/lifetime_estimator.h"
#include "platform/linux/sysfs_supply_tree.h"
#include "platform/power_source.h"

#include <optional>
#include <vector>

namespace amperlog {

// The supplies' readings in the fields of the Windows query, lifetimes left unknown. Without
// batteries: on mains, no battery, as Windows reports a desktop. An adapter's word outranks
// the batteries' status.
PowerStatus StatusOfSupplies(const std::vector<BatteryReading>& readings,
                             std::optional<bool> adapterOnline);

// The draw of all batteries together in µW; nullopt when none reports one.
std::optional<double> TotalDraw(const std::vector<BatteryReading>& readings);

// The energy of all batteries together; nullopt unless every battery reports both.
std::optional<StoredEnergy> TotalEnergy(const std::vector<BatteryReading>& readings);

} // namespace amperlog
