#include "platform/qt/qt_time_zone.h"

#include <QDateTime>

namespace amperlog {

std::int64_t QtTimeZoneRules::UtcOffsetAt(std::int64_t utcSeconds) const {
    // An invalid zone (an unknown TZ) gives 0 from Qt: the logs then read as UTC.
    return m_zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(utcSeconds, Qt::UTC));
}

} // namespace amperlog
