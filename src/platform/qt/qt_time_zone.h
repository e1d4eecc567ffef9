#pragma once

#include "platform/time_zone.h"

#include <QTimeZone>
#include <utility>

namespace amperlog {

// The rules of a Qt time zone, by default the system's (on Linux Qt reads TZ, else
// /etc/localtime). Needs no QApplication: the report is made before any exists.
class QtTimeZoneRules final : public TimeZoneRules {
public:
    QtTimeZoneRules() : m_zone(QTimeZone::systemTimeZone()) {}
    explicit QtTimeZoneRules(QTimeZone zone) : m_zone(std::move(zone)) {}

    std::int64_t UtcOffsetAt(std::int64_t utcSeconds) const override;

private:
    QTimeZone m_zone;
};

} // namespace amperlog
