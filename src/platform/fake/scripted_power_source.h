#pragma once

#include "platform/power_source.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace amperlog {

// Answers queries from a script: one entry per call, the last entry repeating for ever.
// A nullopt entry is a failed query.
class ScriptedPowerSource final : public PowerSource {
public:
    // Answers every query with the all-unknown status.
    ScriptedPowerSource();
    explicit ScriptedPowerSource(std::vector<std::optional<PowerStatus>> script);

    // Replaces the script with a single entry.
    void Set(PowerStatus status);
    void SetFailure();
    // Appends entries after the ones not yet answered.
    void Append(std::optional<PowerStatus> entry);

    std::optional<PowerStatus> Query() override;

    std::size_t QueryCount() const { return m_queryCount; }

private:
    std::vector<std::optional<PowerStatus>> m_script;
    std::size_t m_next = 0;
    std::size_t m_queryCount = 0;
};

} // namespace amperlog
