#pragma once

#include <cstdint>
#include <string>

namespace amperlog {

// How much a notification matters: news, a warning, or one that must not be missed.
enum class NotificationKind : std::uint8_t { Info, Warning, Critical };

// The desktop's own notifications, which show without a notification area.
class DesktopNotifier {
public:
    virtual ~DesktopNotifier() = default;
    // Shows title and body (UTF-8) with the program's icon in place of the program's previous
    // notification, urgent when critical. Returns at once; without a notification service
    // nothing shows and nothing fails.
    virtual void Notify(const std::string& title, const std::string& body,
                        NotificationKind kind) = 0;
    // Takes the program's last notification off the desktop, if it is still there.
    virtual void Withdraw() = 0;
};

} // namespace amperlog
