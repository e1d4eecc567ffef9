#pragma once

#include "platform/desktop_notifier.h"

#include <cstddef>
#include <string>
#include <vector>

namespace amperlog {

// Remembers every notification, in order, and when notifications were withdrawn.
class RecordingDesktopNotifier final : public DesktopNotifier {
public:
    struct Notification {
        std::string title;
        std::string body;
        NotificationKind kind = NotificationKind::Info;

        friend bool operator==(const Notification&, const Notification&) = default;
    };

    void Notify(const std::string& title, const std::string& body, NotificationKind kind) override {
        m_shown.push_back({title, body, kind});
    }
    void Withdraw() override { m_withdrawals.push_back(m_shown.size()); }

    const std::vector<Notification>& Shown() const { return m_shown; }
    // For each withdrawal, how many notifications had been shown before it.
    const std::vector<std::size_t>& Withdrawals() const { return m_withdrawals; }
    void Clear() {
        m_shown.clear();
        m_withdrawals.clear();
    }

private:
    std::vector<Notification> m_shown;
    std::vector<std::size_t> m_withdrawals;
};

} // namespace amperlog
