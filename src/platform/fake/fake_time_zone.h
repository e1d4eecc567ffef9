#pragma once

#include "platform/time_zone.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace amperlog {

// A zone told by hand: an offset, and the instants it changes at, oldest first.
class FakeTimeZoneRules final : public TimeZoneRules {
public:
    struct Change {
        std::int64_t utcSeconds = 0; // the first second of the new offset
        std::int64_t offset = 0;
    };

    explicit FakeTimeZoneRules(std::int64_t offset, std::vector<Change> changes = {})
        : m_offset(offset), m_changes(std::move(changes)) {}

    std::int64_t UtcOffsetAt(std::int64_t utcSeconds) const override {
        std::int64_t offset = m_offset;
        for (const Change& change : m_changes) {
            if (utcSeconds >= change.utcSeconds) {
                offset = change.offset;
            }
        }
        return offset;
    }

    // Central Europe in 2026 and 2027: summer time (+2 h) from the last Sunday of March at
    // 01:00 UTC to the last Sunday of October at 01:00 UTC, +1 h otherwise.
    static FakeTimeZoneRules CentralEurope() {
        constexpr std::int64_t kHour = 3600;
        constexpr std::int64_t kDay = 86400;
        // Day numbers since 1970-01-01 of 2026-03-29, 2026-10-25, 2027-03-28, 2027-10-31.
        return FakeTimeZoneRules(kHour, {{20541 * kDay + kHour, 2 * kHour},
                                         {20751 * kDay + kHour, kHour},
                                         {20905 * kDay + kHour, 2 * kHour},
                                         {21122 * kDay + kHour, kHour}});
    }

private:
    std::int64_t m_offset;
    std::vector<Change> m_changes;
};

} // namespace amperlog
