#include "platform/fake/recording_tray_icon.h"

namespace amperlog {

void RecordingTrayIcon::Add(const std::string& tip) {
    m_events.push_back({Event::Kind::Add, tip});
    m_shown = true;
}

void RecordingTrayIcon::Remove() {
    m_events.push_back({Event::Kind::Remove, {}});
    m_shown = false;
}

} // namespace amperlog
