#pragma once

#include "platform/battery_health.h"
#include "platform/linux/sysfs_supply_tree.h"

#include <string>

namespace amperlog {

// Design and full capacities from the kernel's power supply class: energy_* in µWh, or
// charge_* in µAh, made Wh at voltage_min_design or else kept as a ratio.
class SysfsBatteryHealth final : public BatteryHealthSource {
public:
    explicit SysfsBatteryHealth(std::string root) : m_root(std::move(root)) {}
    std::vector<BatteryHealthReading> Read() override;
    // energy_now, or charge_now at voltage_min_design, of every battery present. Asked every
    // tick: the supply list is read again only now and then, or when a battery did not answer.
    std::optional<double> EnergyNowWh() override;

private:
    std::string m_root;
    SupplyTree m_energyTree{m_root};
    int m_looksSinceScan = -1;
};

} // namespace amperlog
