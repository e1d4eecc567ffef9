#pragma once

#include "platform/desktop_notifier.h"

#include <string>
#include <vector>

namespace amperlog {

// Remembers every notification, in order.
class RecordingDesktopNotifier final : public DesktopNotifier {
public:
    struct Notification {
        std::string title;
        std::string body;
        bool critical = false;

        friend bool operator==(const Notification&, const Notification&) = default;
    };

    void Notify(const std::string& title, const std::string& body, bool critical) override {
        m_shown.push_back({title, body, critical});
    }

    const std::vector<Notification>& Shown() const { return m_shown; }
    void Clear() { m_shown.clear(); }

private:
    std::vector<Notification> m_shown;
};

} // namespace amperlog
