#include "platform/linux/supply_status.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace amperlog {
namespace {

std::optional<double> OwnPercent(const BatteryReading& reading) {
    if (reading.levelNow && reading.levelFull && *reading.levelFull > 0) {
        return 100.0 * *reading.levelNow / *reading.levelFull;
    }
    return ReadInteger(reading.battery->dir + "capacity");
}

// The charge of all batteries together, 0 to 100.
std::optional<int> CombinedPercent(const std::vector<BatteryReading>& readings) {
    double energyNow = 0;
    double energyFull = 0;
    bool allEnergy = true;
    for (const BatteryReading& reading : readings) {
        if (!reading.energyNow || !reading.energyFull) {
            allEnergy = false;
            break;
        }
        energyNow += *reading.energyNow;
        energyFull += *reading.energyFull;
    }
    std::optional<double> percent;
    if (allEnergy && energyFull > 0) {
        percent = 100.0 * energyNow / energyFull;
    } else {
        // Without a common unit, each battery's own percent counts alike.
        double sum = 0;
        int count = 0;
        for (const BatteryReading& reading : readings) {
            if (const std::optional<double> own = OwnPercent(reading)) {
                sum += *own;
                ++count;
            }
        }
        if (count > 0) {
            percent = sum / count;
        }
    }
    if (!percent) {
        return std::nullopt;
    }
    return static_cast<int>(std::lround(std::clamp(*percent, 0.0, 100.0)));
}

std::uint8_t FlagFromLevel(const std::vector<BatteryReading>& readings) {
    for (const BatteryReading& reading : readings) {
        const std::optional<std::string> level =
            ReadAttribute(reading.battery->dir + "capacity_level");
        if (!level) {
            continue;
        }
        if (*level == "Critical") {
            return kBatteryLow | kBatteryCritical;
        }
        if (*level == "Low") {
            return kBatteryLow;
        }
        if (*level == "High" || *level == "Full") {
            return kBatteryHigh;
        }
        if (*level == "Normal") {
            return 0;
        }
    }
    return kBatteryUnknown;
}

std::uint8_t AcLineFromStatus(const std::vector<BatteryReading>& readings) {
    bool external = false;
    for (const BatteryReading& reading : readings) {
        if (reading.status == "Discharging") {
            return kAcOffline;
        }
        if (reading.status == "Charging" || reading.status == "Full" ||
            reading.status == "Not charging") {
            external = true;
        }
    }
    return external ? kAcOnline : kAcUnknown;
}

} // namespace

PowerStatus StatusOfSupplies(const std::vector<BatteryReading>& readings,
                             std::optional<bool> adapterOnline) {
    PowerStatus status;
    if (readings.empty()) {
        status.acLineStatus = kAcOnline;
        status.batteryFlag = kBatteryNone;
        return status;
    }
    if (adapterOnline) {
        status.acLineStatus = *adapterOnline ? kAcOnline : kAcOffline;
    } else {
        status.acLineStatus = AcLineFromStatus(readings);
    }

    const bool charging =
        std::any_of(readings.begin(), readings.end(),
                    [](const BatteryReading& r) { return r.status == "Charging"; });
    const std::optional<int> percent = CombinedPercent(readings);
    if (percent) {
        status.batteryLifePercent = static_cast<std::uint8_t>(*percent);
        status.batteryFlag = 0;
        if (*percent > 66) {
            status.batteryFlag |= kBatteryHigh;
        }
        if (*percent < 33) {
            status.batteryFlag |= kBatteryLow;
        }
        if (*percent < 5) {
            status.batteryFlag |= kBatteryCritical;
        }
    } else {
        status.batteryFlag = FlagFromLevel(readings);
    }
    if (charging && status.batteryFlag != kBatteryUnknown) {
        status.batteryFlag |= kBatteryCharging;
    }
    return status;
}

std::optional<double> TotalDraw(const std::vector<BatteryReading>& readings) {
    double total = 0;
    bool known = false;
    for (const BatteryReading& reading : readings) {
        if (reading.draw) {
            total += *reading.draw;
            known = true;
        }
    }
    if (!known) {
        return std::nullopt;
    }
    return total;
}

std::optional<StoredEnergy> TotalEnergy(const std::vector<BatteryReading>& readings) {
    StoredEnergy total;
    for (const BatteryReading& reading : readings) {
        if (!reading.energyNow || !reading.energyFull) {
            return std::nullopt;
        }
        total.now += *reading.energyNow;
        total.full += *reading.energyFull;
    }
    return total;
}

} // namespace amperlog
