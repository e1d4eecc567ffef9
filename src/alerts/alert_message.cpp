#include "alerts/alert_message.h"

#include "texts/catalogue.h"

namespace amperlog {

AlertMessage MessageFor(Alert alert, int percent) {
    const std::string value = std::to_string(percent);
    switch (alert) {
    case Alert::Low:
        return {std::string(Text(TextId::AlertLow)), FormatText(TextId::AlertLowDetail, value),
                false};
    case Alert::Critical:
        return {std::string(Text(TextId::AlertCritical)),
                FormatText(TextId::AlertCriticalDetail, value), true};
    case Alert::Charged:
        return {std::string(Text(TextId::AlertCharged)),
                FormatText(TextId::AlertChargedDetail, value), false};
    case Alert::None:
        break;
    }
    return {};
}

} // namespace amperlog
