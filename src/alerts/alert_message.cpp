#include "alerts/alert_message.h"

#include "texts/catalogue.h"

namespace amperlog {

AlertMessage MessageFor(Alert alert, int percent) {
    const std::string value = std::to_string(percent);
    switch (alert) {
    case Alert::Low:
        return {std::string(Text(TextId::AlertLow)), FormatText(TextId::AlertLowDetail, value),
                NotificationKind::Warning};
    case Alert::Critical:
        return {std::string(Text(TextId::AlertCritical)),
                FormatText(TextId::AlertCriticalDetail, value), NotificationKind::Critical};
    case Alert::Charged:
        return {std::string(Text(TextId::AlertCharged)),
                FormatText(TextId::AlertChargedDetail, value), NotificationKind::Info};
    case Alert::None:
        break;
    }
    return {};
}

} // namespace amperlog
