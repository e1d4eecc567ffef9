#pragma once

#include "alerts/alert_ladder.h"
#include "platform/desktop_notifier.h"

#include <string>

namespace amperlog {

// What an alert says, in the interface language. The title is also what is spoken.
struct AlertMessage {
    std::string title;
    std::string body;
    NotificationKind kind = NotificationKind::Info;
};

// alert must not be Alert::None; percent is the charge that raised it.
AlertMessage MessageFor(Alert alert, int percent);

} // namespace amperlog
