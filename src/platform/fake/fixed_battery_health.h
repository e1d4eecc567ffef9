#pragma once

#include "platform/battery_health.h"

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

private:
    std::vector<BatteryHealthReading> m_readings;
    int m_reads = 0;
};

} // namespace amperlog
