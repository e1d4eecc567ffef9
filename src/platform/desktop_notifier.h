#pragma once

#include <string>

namespace amperlog {

// The desktop's own notifications, which show without a notification area.
class DesktopNotifier {
public:
    virtual ~DesktopNotifier() = default;
    // Shows title and body (UTF-8) with the program's icon, urgent when critical. Returns at
    // once; without a notification service nothing shows and nothing fails.
    virtual void Notify(const std::string& title, const std::string& body, bool critical) = 0;
};

} // namespace amperlog
