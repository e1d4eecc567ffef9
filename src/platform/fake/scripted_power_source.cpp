#include "platform/fake/scripted_power_source.h"

#include <utility>

namespace amperlog {

ScriptedPowerSource::ScriptedPowerSource() : m_script{PowerStatus{}} {}

ScriptedPowerSource::ScriptedPowerSource(std::vector<std::optional<PowerStatus>> script)
    : m_script(std::move(script)) {
    if (m_script.empty()) {
        m_script.emplace_back(PowerStatus{});
    }
}

void ScriptedPowerSource::Set(PowerStatus status) {
    m_script.assign(1, status);
    m_next = 0;
}

void ScriptedPowerSource::SetFailure() {
    m_script.assign(1, std::nullopt);
    m_next = 0;
}

void ScriptedPowerSource::Append(std::optional<PowerStatus> entry) {
    // Once the last entry has started repeating, drop what was already answered so the new
    // entry is the next answer.
    if (m_next >= m_script.size()) {
        m_script.clear();
        m_next = 0;
    }
    m_script.push_back(entry);
}

std::optional<PowerStatus> ScriptedPowerSource::Query() {
    ++m_queryCount;
    if (m_next < m_script.size()) {
        return m_script[m_next++];
    }
    return m_script.back();
}

} // namespace amperlog
