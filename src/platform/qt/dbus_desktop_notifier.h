#pragma once

#include "platform/desktop_notifier.h"

namespace amperlog {

// The freedesktop notification service (org.freedesktop.Notifications) on the session bus.
// The call is sent without waiting for an answer: a bus or service that is missing or hangs
// never holds up the tick. The bus is first looked for at the first notification.
class DbusDesktopNotifier final : public DesktopNotifier {
public:
    void Notify(const std::string& title, const std::string& body, bool critical) override;
};

} // namespace amperlog
