#pragma once

#include <string>

namespace amperlog {

// What the monitor tick asks of the window: the status panel, the graphs and speech.
// The defaults do nothing, so the monitor runs without a window (tests, benchmarks).
class MonitorViews {
public:
    virtual ~MonitorViews() = default;
    virtual void DispPanel() {}
    virtual void RefreshChangeRate() {}
    virtual void RefreshGraphs() {}
    virtual void SpeakText(const std::string& /*text*/) {}
};

} // namespace amperlog
