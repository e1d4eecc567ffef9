#pragma once

#include "platform/desktop_notifier.h"

#include <QVariant>
#include <memory>
#include <optional>
#include <string>

class QObject;

namespace amperlog {

// The freedesktop notification service (org.freedesktop.Notifications) on the session bus.
// Calls are sent without waiting for an answer: a bus or service that is missing or hangs
// never holds up the tick. The id the service gives a notification comes back later; the
// next notification replaces it. One asked for before that answer waits for it, so that it
// replaces rather than stacks. The bus is first looked for at the first notification.
class DbusDesktopNotifier final : public DesktopNotifier {
public:
    DbusDesktopNotifier();
    ~DbusDesktopNotifier() override;
    DbusDesktopNotifier(const DbusDesktopNotifier&) = delete;
    DbusDesktopNotifier& operator=(const DbusDesktopNotifier&) = delete;

    void Notify(const std::string& title, const std::string& body, NotificationKind kind) override;
    void Withdraw() override;

private:
    struct Request {
        std::string title;
        std::string body;
        NotificationKind kind;
    };
    void Send(const Request& request);
    void Answered(std::optional<uint> id);
    void Close();

    // Owns the calls awaiting an answer; its end drops them.
    std::unique_ptr<QObject> m_calls;
    // The id of the program's notification on the desktop; 0 for none.
    uint m_shownId = 0;
    bool m_awaitingId = false;
    std::optional<Request> m_next;
    bool m_closeWhenAnswered = false;
    // The program's icon as the service's image, made at the first notification.
    QVariant m_image;
};

} // namespace amperlog
