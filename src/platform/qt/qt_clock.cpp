#include "qt_clock.h"

#include <QDateTime>

namespace amperlog {

CivilTime QtClock::Now() const {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return CivilTime::FromParts(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second())
        .value_or(CivilTime());
}

} // namespace amperlog
