#pragma once

#include <optional>
#include <string>
#include <vector>

namespace amperlog {

// What a battery says of its wear: its capacity when new and when full today.
struct BatteryHealthReading {
    std::string manufacturer;
    std::string model;
    std::string serial;
    // Wh; with ratioOnly both are in the battery's own unit and only their ratio means
    // anything.
    double designWh = 0;
    double fullWh = 0;
    bool ratioOnly = false;
    // 0 when the battery does not count them.
    int cycles = 0;
    // Where the system keeps it: the supply's name (BAT0) or the device's slot. It tells
    // batteries apart whose names do not.
    std::string supply;
};

// The system's batteries as they read now. A battery whose capacities are missing or
// absurd (no design capacity, full far above design) is left out rather than misread.
class BatteryHealthSource {
public:
    virtual ~BatteryHealthSource() = default;
    virtual std::vector<BatteryHealthReading> Read() = 0;
    // The energy the batteries hold now, in Wh, summed; nullopt where the system gives none.
    virtual std::optional<double> EnergyNowWh() { return std::nullopt; }
};

// Full may exceed design a little on a new battery; far above it, a gauge is wrong.
constexpr double kMostFullOfDesign = 1.5;

inline bool IsPlausibleHealth(double design, double full) {
    return design > 0 && full > 0 && full <= design * kMostFullOfDesign;
}

} // namespace amperlog
