#include "platform/qt/qt_clock.h"

#include <QDateTime>

namespace amperlog {

CivilTime QtClock::Now() const {
    // The time is asked for several times a tick and has a resolution of one second: the
    // local time of a second is worked out once, which also spares the time zone lookup.
    const qint64 second = QDateTime::currentSecsSinceEpoch();
    if (m_second && *m_second == second) {
        return m_now;
    }
    const QDateTime now = QDateTime::fromSecsSinceEpoch(second);
    const QDate d = now.date();
    const QTime t = now.time();
    m_now = CivilTime::FromParts(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second())
                .value_or(CivilTime());
    m_second = second;
    return m_now;
}

} // namespace amperlog
