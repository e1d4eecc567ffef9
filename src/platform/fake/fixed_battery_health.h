#pragma once

#include "platform/battery_health.h"

#include <optional>
#include <utility>
#include <vector>

namespace amperlog {

// Batteries that read as told.
class FixedBatteryHealth final : public BatteryHealthSource {
public:
    explicit FixedBatteryHealth(std::vector<BatteryHealthReading> readings = {})
        : m_readings(std::move(readings)) {}

    std::vector<BatteryHealthReading> Read() override {
        ++m_reads;
        return m_readings;
    }
    void Set(std::vector<BatteryHealthReading> readings) { m_readings = std::move(readings); }
    int Reads() const { return m_reads; }
    std::optional<double> EnergyNowWh() override { return m_energy; }
    void SetEnergy(std::optional<double> wh) { m_energy = wh; }

private:
    std::vector<BatteryHealthReading> m_readings;
    int m_reads = 0;
    std::optional<double> m_energy;
};

} // namespace amperlog
