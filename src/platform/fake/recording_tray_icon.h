#pragma once

#include "platform/tray_icon.h"

#include <string>
#include <vector>

namespace amperlog {

// Remembers every Add and Remove, in order.
class RecordingTrayIcon final : public TrayIcon {
public:
    struct Event {
        enum class Kind { Add, Remove };
        Kind kind;
        std::string tip; // empty for Remove

        friend bool operator==(const Event&, const Event&) = default;
    };

    void Add(const std::string& tip) override;
    void Remove() override;

    const std::vector<Event>& Events() const { return m_events; }
    // Whether the last call was an Add.
    bool Shown() const { return m_shown; }
    void Clear() { m_events.clear(); }

private:
    std::vector<Event> m_events;
    bool m_shown = false;
};

} // namespace amperlog
