#pragma once

#include <optional>
#include <string>
#include <vector>

namespace amperlog {

// Attribute files of the kernel's power supply class, read with one open, read and close
// each. A file that opens but does not read (EIO from the controller, a directory) counts as
// missing.
std::optional<std::string> ReadAttribute(const std::string& path);
std::optional<double> ReadInteger(const std::string& path);

enum class SupplyUnits { Energy, Charge };

struct SupplyBattery {
    std::string dir; // ends with '/'
    // The unit family that read last time, tried first.
    SupplyUnits units = SupplyUnits::Energy;
    // µV; a design voltage does not change, so it is read when the list is scanned.
    std::optional<double> designVoltage;
};

// One battery as read by one query.
struct BatteryReading {
    const SupplyBattery* battery = nullptr;
    std::string status;
    // Now and full in the battery's own units, for its own percent.
    std::optional<double> levelNow;
    std::optional<double> levelFull;
    // µWh and µW, where the units allow them.
    std::optional<double> energyNow;
    std::optional<double> energyFull;
    std::optional<double> draw;
};

// The supplies listed under one root folder: the system's batteries (not those of mice,
// keyboards or pens) and the adapters (mains, USB and wireless chargers).
class SupplyTree {
public:
    explicit SupplyTree(std::string root) : m_root(std::move(root)) {}

    // Lists the supplies again. False when the root exists but cannot be listed; a missing
    // root lists nothing.
    bool Scan();
    // The batteries present. failed is set when a supply's file could not be read.
    std::vector<BatteryReading> ReadBatteries(bool& failed);
    // Whether any adapter is online; nullopt without adapters.
    std::optional<bool> ReadAdapters(bool& failed) const;
    // The batteries of the last scan.
    const std::vector<SupplyBattery>& Batteries() const { return m_batteries; }

private:
    std::string m_root;
    std::vector<SupplyBattery> m_batteries;
    std::vector<std::string> m_adapterOnlineFiles;
};

} // namespace amperlog
