#include "notify/tray_message.h"

namespace amperlog {

TrayAction DecideTrayAction(std::int16_t message) {
    return message == kTrayRightButtonDown ? TrayAction::ShowPopupMenu : TrayAction::None;
}

} // namespace amperlog
