#include "platform/linux/sysfs_battery_health.h"

#include "platform/linux/sysfs_supply_tree.h"

#include <climits>
#include <optional>

namespace amperlog {
namespace {

constexpr double kMicroPerUnit = 1e6;

std::optional<BatteryHealthReading> ReadHealth(const std::string& dir) {
    if (ReadInteger(dir + "present") == 0.0) {
        return std::nullopt;
    }
    BatteryHealthReading reading;
    // "…/BAT0/": the supply's name.
    const std::size_t nameStart = dir.find_last_of('/', dir.size() - 2) + 1;
    reading.supply = dir.substr(nameStart, dir.size() - 1 - nameStart);
    reading.manufacturer = ReadAttribute(dir + "manufacturer").value_or("");
    reading.model = ReadAttribute(dir + "model_name").value_or("");
    reading.serial = ReadAttribute(dir + "serial_number").value_or("");
    const std::optional<double> cycles = ReadInteger(dir + "cycle_count");
    reading.cycles = cycles && *cycles > 0 && *cycles <= INT_MAX ? static_cast<int>(*cycles) : 0;

    std::optional<double> design = ReadInteger(dir + "energy_full_design");
    std::optional<double> full = ReadInteger(dir + "energy_full");
    double scale = 1 / kMicroPerUnit;
    if (!design || !full) {
        design = ReadInteger(dir + "charge_full_design");
        full = ReadInteger(dir + "charge_full");
        const std::optional<double> volts = ReadInteger(dir + "voltage_min_design");
        if (volts && *volts > 0) {
            // µAh × µV = 1e-12 Wh.
            scale = *volts / kMicroPerUnit / kMicroPerUnit;
        } else {
            scale = 1 / kMicroPerUnit;
            reading.ratioOnly = true;
        }
    }
    if (!design || !full || !IsPlausibleHealth(*design, *full)) {
        // Named without figures: the diary still owes it the day's line.
        reading.ratioOnly = false;
        return reading;
    }
    reading.designWh = *design * scale;
    reading.fullWh = *full * scale;
    return reading;
}

} // namespace

std::vector<BatteryHealthReading> SysfsBatteryHealth::Read() {
    std::vector<BatteryHealthReading> readings;
    SupplyTree tree(m_root);
    if (!tree.Scan()) {
        return readings;
    }
    for (const SupplyBattery& battery : tree.Batteries()) {
        if (std::optional<BatteryHealthReading> reading = ReadHealth(battery.dir)) {
            readings.push_back(std::move(*reading));
        }
    }
    return readings;
}

std::optional<double> SysfsBatteryHealth::EnergyNowWh() {
    // About once a minute at one look a tick, like the power source's own rescans.
    constexpr int kLooksBetweenScans = 60;
    if (m_looksSinceScan < 0 || m_looksSinceScan >= kLooksBetweenScans) {
        if (!m_energyTree.Scan()) {
            return std::nullopt;
        }
        m_looksSinceScan = 0;
    }
    ++m_looksSinceScan;
    std::optional<double> total;
    for (const SupplyBattery& battery : m_energyTree.Batteries()) {
        const std::string& dir = battery.dir;
        if (ReadInteger(dir + "present") == 0.0) {
            continue;
        }
        double wh = 0;
        if (const std::optional<double> energy = ReadInteger(dir + "energy_now")) {
            wh = *energy / kMicroPerUnit;
        } else {
            const std::optional<double> charge = ReadInteger(dir + "charge_now");
            const std::optional<double> volts = ReadInteger(dir + "voltage_min_design");
            // A charge without its voltage is no energy: one battery unknown makes the sum so.
            if (!charge || !volts || *volts <= 0) {
                if (!ReadAttribute(dir + "type")) {
                    // Gone since the scan: the list afresh at the next look.
                    m_looksSinceScan = -1;
                }
                return std::nullopt;
            }
            wh = *charge * *volts / kMicroPerUnit / kMicroPerUnit;
        }
        total = total.value_or(0) + wh;
    }
    return total;
}

} // namespace amperlog
