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

    // Recorded whether or not there is a notification area.
    bool Add(const std::string& tip) override;
    void Remove() override;

    const std::vector<Event>& Events() const { return m_events; }
    // Whether the icon is shown: the last call was an Add that a notification area took.
    bool Shown() const { return m_shown; }
    void Clear() { m_events.clear(); }
    // A desktop without a notification area: every Add fails.
    void SetHostPresent(bool present) { m_hostPresent = present; }

private:
    std::vector<Event> m_events;
    bool m_shown = false;
    bool m_hostPresent = true;
};

} // namespace amperlog
