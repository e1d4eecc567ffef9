#pragma once

#include "platform/clock.h"

#include <QElapsedTimer>
#include <optional>

namespace amperlog {

class QtClock final : public Clock {
public:
    CivilTime Now() const override;

private:
    // The second since the epoch that m_now belongs to.
    mutable std::optional<qint64> m_second;
    mutable CivilTime m_now;
};

class QtMillisecondCounter final : public MillisecondCounter {
public:
    QtMillisecondCounter() { m_timer.start(); }
    std::uint32_t Milliseconds() const override {
        return static_cast<std::uint32_t>(m_timer.elapsed());
    }

private:
    QElapsedTimer m_timer;
};

} // namespace amperlog
