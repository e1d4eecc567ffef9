#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace amperlog {

// A local calendar date and time of day without a zone, to the second.
// Stored as seconds since 1970-01-01 00:00:00 of the proleptic Gregorian calendar;
// a default-constructed value is that instant.
class CivilTime {
public:
    constexpr CivilTime() = default;

    // Validated construction; nullopt for 2/30, 13/45, 24:00:00 and the like.
    static std::optional<CivilTime> FromParts(int year, int month, int day, int hour = 0,
                                              int minute = 0, int second = 0);
    static constexpr CivilTime FromSerial(std::int64_t seconds) {
        CivilTime t;
        t.m_seconds = seconds;
        return t;
    }

    int Year() const;
    int Month() const;
    int Day() const;
    int Hour() const { return static_cast<int>(SecondOfDay() / 3600); }
    int Minute() const { return static_cast<int>(SecondOfDay() / 60 % 60); }
    int Second() const { return static_cast<int>(SecondOfDay() % 60); }

    std::int64_t Serial() const { return m_seconds; }
    std::int64_t DayNumber() const { return FloorDiv(m_seconds, kSecondsPerDay); }
    std::int64_t SecondOfDay() const { return m_seconds - DayNumber() * kSecondsPerDay; }

    // Midnight of the same day.
    CivilTime Date() const { return FromSerial(DayNumber() * kSecondsPerDay); }
    // Minutes and seconds set to zero.
    CivilTime StartOfHour() const { return FromSerial(m_seconds - SecondOfDay() % 3600); }
    CivilTime AddSeconds(std::int64_t s) const { return FromSerial(m_seconds + s); }

    // clang-tidy reads the 0 a rewritten comparison compares with as a null pointer.
    friend constexpr auto operator<=>(const CivilTime&,
                                      const CivilTime&) = default; // NOLINT(modernize-use-nullptr)

    static constexpr std::int64_t kSecondsPerDay = 86400;

private:
    static constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
        return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
    }
    std::int64_t m_seconds = 0;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Whole-minute difference b - a counted in minute boundaries: both are cut to the
// minute first, so 10:00:59 to 10:01:00 is 1.
std::int64_t MinutesBetween(CivilTime a, CivilTime b);
// Whole seconds from a to b.
inline std::int64_t SecondsBetween(CivilTime a, CivilTime b) {
    return b.Serial() - a.Serial();
}

// "HH:mm".
std::string FormatHourMinute(CivilTime t);
// "yyyy/MM/dd H:mm:ss", the settings file's date-time form.
std::string FormatSettingsTime(CivilTime t);
// "YYYY-MM-DDTHH:MM:SS".
std::string FormatIsoTime(CivilTime t);

// Reads exactly "YYYY-MM-DDTHH:MM:SS", as FormatIsoTime writes it.
std::optional<CivilTime> ParseIsoTime(std::string_view text);

// Reads "M/d H:m:s" (also "M/d H:m" and "M/d") with the given year. Blanks around the parts
// are allowed; anything else that does not make a valid date fails.
std::optional<CivilTime> ParseMonthDayTime(std::string_view text, int year);

// Reads a settings date-time: "yyyy/MM/dd H:mm:ss" as written, and the common regional
// forms: "yyyy-MM-dd", "yyyy.MM.dd", "dd.MM.yyyy", "MM/dd/yyyy", "yy/M/d", an optional
// time "H:mm[:ss]" with an optional AM/PM (also 午前/午後), and "T" between date and time.
std::optional<CivilTime> ParseSettingsTime(std::string_view text);

} // namespace amperlog
