#pragma once

#include <cstdint>

namespace amperlog {

// The local time zone's rules: the offset from UTC in force at an instant. The daily logs hold
// local times only; these rules tell how long a local day really was (23, 24 or 25 hours) and
// which of two equal local times in a repeated hour came first.
class TimeZoneRules {
public:
    virtual ~TimeZoneRules() = default;
    // Seconds east of UTC at the instant given in seconds since 1970-01-01 00:00:00 UTC.
    virtual std::int64_t UtcOffsetAt(std::int64_t utcSeconds) const = 0;
};

} // namespace amperlog
