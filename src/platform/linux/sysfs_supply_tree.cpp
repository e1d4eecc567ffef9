#include "platform/linux/sysfs_supply_tree.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace amperlog {
namespace {

namespace fs = std::filesystem;

std::optional<double> ReadPositive(const std::string& path) {
    const std::optional<double> value = ReadInteger(path);
    if (value && *value > 0) {
        return value;
    }
    return std::nullopt;
}

bool IsAdapterType(std::string_view type) {
    return type == "Mains" || type == "Wireless" || type.starts_with("USB");
}

// How much of a reading one unit family gave: its level now and full, and a draw.
constexpr int kHasFull = 2;
constexpr int kHasDraw = 1;
constexpr int kComplete = kHasFull | kHasDraw;

// |current| × voltage in µW: µA × µV = 1e6 µW.
std::optional<double> DrawFromCurrent(const std::string& dir, std::optional<double> voltage) {
    const std::optional<double> current = ReadInteger(dir + "current_now");
    if (!current || !voltage) {
        return std::nullopt;
    }
    return std::abs(*current) * *voltage / 1e6;
}

// Reads one unit family; nullopt when its level now is missing, otherwise how complete it is.
// Each family takes the draw in its own unit first, the other where a gauge gives only that
// (fuel gauges of ARM machines give energy and current but no power).
std::optional<int> ReadUnits(const SupplyBattery& battery, SupplyUnits units,
                             BatteryReading& reading) {
    const std::string& dir = battery.dir;
    if (units == SupplyUnits::Energy) {
        const std::optional<double> now = ReadInteger(dir + "energy_now");
        if (!now) {
            return std::nullopt;
        }
        reading.levelNow = reading.energyNow = std::abs(*now);
        reading.levelFull = reading.energyFull = ReadInteger(dir + "energy_full");
        if (const std::optional<double> power = ReadInteger(dir + "power_now")) {
            reading.draw = std::abs(*power);
        } else {
            std::optional<double> voltage = ReadPositive(dir + "voltage_now");
            reading.draw = DrawFromCurrent(dir, voltage ? voltage : battery.designVoltage);
        }
    } else {
        const std::optional<double> now = ReadInteger(dir + "charge_now");
        if (!now) {
            return std::nullopt;
        }
        reading.levelNow = std::abs(*now);
        reading.levelFull = ReadInteger(dir + "charge_full");
        // The energy at the design voltage, as the gauge counts it, and the draw at the same
        // voltage: the lifetime is then charge over current, whatever the voltage.
        std::optional<double> voltage = battery.designVoltage;
        if (!voltage) {
            voltage = ReadPositive(dir + "voltage_now");
        }
        if (voltage) {
            // µAh × µV = 1e6 µWh.
            const double scale = *voltage / 1e6;
            reading.energyNow = *reading.levelNow * scale;
            if (reading.levelFull) {
                reading.energyFull = *reading.levelFull * scale;
            }
        }
        reading.draw = DrawFromCurrent(dir, voltage);
        if (!reading.draw) {
            if (const std::optional<double> power = ReadInteger(dir + "power_now")) {
                reading.draw = std::abs(*power);
            }
        }
    }
    return (reading.levelFull ? kHasFull : 0) | (reading.draw ? kHasDraw : 0);
}

std::optional<BatteryReading> ReadBattery(SupplyBattery& battery, bool& failed) {
    const std::optional<double> present = ReadInteger(battery.dir + "present");
    if (present && *present == 0) {
        return std::nullopt;
    }
    BatteryReading reading;
    reading.battery = &battery;
    if (std::optional<std::string> status = ReadAttribute(battery.dir + "status")) {
        reading.status = std::move(*status);
    } else {
        // Every battery has a status; a battery that lost it was probably unplugged.
        failed = true;
    }
    // Many gauges fill both families, some only in part: the one with the levels now and full
    // and a draw wins, the family that won last time on a tie (and without reading the other
    // when it is complete).
    BatteryReading first = reading;
    const std::optional<int> firstHas = ReadUnits(battery, battery.units, first);
    if (firstHas == kComplete) {
        return first;
    }
    const SupplyUnits other =
        battery.units == SupplyUnits::Energy ? SupplyUnits::Charge : SupplyUnits::Energy;
    BatteryReading second = reading;
    const std::optional<int> secondHas = ReadUnits(battery, other, second);
    if (secondHas && (!firstHas || *secondHas > *firstHas)) {
        battery.units = other;
        return second;
    }
    return firstHas ? first : reading;
}

} // namespace

// A sysfs attribute is small and produced whole by one read.
std::optional<std::string> ReadAttribute(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::array<char, 256> buffer{};
    const ssize_t count = ::read(fd, buffer.data(), buffer.size());
    ::close(fd);
    if (count < 0) {
        return std::nullopt;
    }
    std::string_view text(buffer.data(), static_cast<std::size_t>(count));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' ||
                             text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

std::optional<double> ReadInteger(const std::string& path) {
    const std::optional<std::string> text = ReadAttribute(path);
    if (!text || text->empty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    const char* const last = text->data() + text->size();
    const auto [end, error] = std::from_chars(text->data(), last, value);
    if (error != std::errc() || end != last) {
        return std::nullopt;
    }
    return static_cast<double>(value);
}

bool SupplyTree::Scan() {
    std::error_code error;
    const fs::file_status rootStatus = fs::status(m_root, error);
    std::vector<std::string> names;
    if (rootStatus.type() != fs::file_type::not_found) {
        fs::directory_iterator it(m_root, error);
        if (error) {
            return false;
        }
        for (; it != fs::directory_iterator(); it.increment(error)) {
            names.push_back(it->path().filename().string());
        }
        if (error) {
            return false;
        }
        std::sort(names.begin(), names.end());
    }

    std::vector<SupplyBattery> found;
    std::vector<std::string> adapters;
    for (const std::string& name : names) {
        const std::string dir = m_root + "/" + name + "/";
        // Batteries of mice, keyboards and pens say scope Device; they do not power this
        // machine.
        if (ReadAttribute(dir + "scope") == "Device") {
            continue;
        }
        const std::optional<std::string> type = ReadAttribute(dir + "type");
        if (!type) {
            continue;
        }
        if (*type == "Battery") {
            SupplyBattery battery;
            battery.dir = dir;
            for (const SupplyBattery& known : m_batteries) {
                if (known.dir == dir) {
                    battery.units = known.units;
                }
            }
            battery.designVoltage = ReadPositive(dir + "voltage_max_design");
            if (!battery.designVoltage) {
                battery.designVoltage = ReadPositive(dir + "voltage_min_design");
            }
            found.push_back(std::move(battery));
        } else if (IsAdapterType(*type) && ReadAttribute(dir + "online")) {
            adapters.push_back(dir + "online");
        }
    }
    m_batteries = std::move(found);
    m_adapterOnlineFiles = std::move(adapters);
    return true;
}

std::vector<BatteryReading> SupplyTree::ReadBatteries(bool& failed) {
    std::vector<BatteryReading> readings;
    readings.reserve(m_batteries.size());
    for (SupplyBattery& battery : m_batteries) {
        if (std::optional<BatteryReading> reading = ReadBattery(battery, failed)) {
            readings.push_back(std::move(*reading));
        }
    }
    return readings;
}

std::optional<bool> SupplyTree::ReadAdapters(bool& failed) const {
    std::optional<bool> online;
    for (const std::string& file : m_adapterOnlineFiles) {
        const std::optional<double> value = ReadInteger(file);
        if (!value) {
            failed = true;
            continue;
        }
        // USB ports say 2 for a programmable supply: any non-zero value is power.
        online = online.value_or(false) || *value != 0;
    }
    return online;
}

} // namespace amperlog
