#include "platform/fake/recording_tray_icon.h"

namespace amperlog {

bool RecordingTrayIcon::Add(const std::string& tip) {
    m_events.push_back({Event::Kind::Add, tip});
    m_shown = m_hostPresent;
    return m_shown;
}

void RecordingTrayIcon::Remove() {
    m_events.push_back({Event::Kind::Remove, {}});
    m_shown = false;
}

} // namespace amperlog
