#include "helpers/civil_time.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <vector>

namespace amperlog {
namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct Ymd {
    int y;
    int m;
    int d;
};

Ymd CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2 ? 1 : 0)), static_cast<int>(m), static_cast<int>(d)};
}

std::string Printf(const char* format, int a, int b, int c = 0, int d = 0, int e = 0, int f = 0) {
    std::array<char, 64> buffer{};
    const int n = std::snprintf(buffer.data(), buffer.size(), format, a, b, c, d, e, f);
    return n > 0 ? std::string(buffer.data(), static_cast<std::size_t>(n)) : std::string();
}

// A small tokenizer: runs of digits become numbers, letters become words, every other
// non-blank character is a separator that is kept so that forms can be told apart.
struct Token {
    enum class Kind { Number, Word, Sep } kind;
    std::string text;
    int digits = 0;
    long long value = 0;
};

std::optional<std::vector<Token>> Tokenize(std::string_view text) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == ' ' || c == '\t') {
            ++i;
            continue;
        }
        if (std::isdigit(c) != 0) {
            Token t{Token::Kind::Number, {}, 0, 0};
            while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0) {
                if (t.digits >= 9) {
                    return std::nullopt; // no date part needs more digits
                }
                t.value = t.value * 10 + (text[i] - '0');
                t.text += text[i];
                ++t.digits;
                ++i;
            }
            tokens.push_back(std::move(t));
        } else if (std::isalpha(c) != 0 || c >= 0x80) {
            Token t{Token::Kind::Word, {}, 0, 0};
            while (i < text.size()) {
                const auto w = static_cast<unsigned char>(text[i]);
                if (!(std::isalpha(w) != 0 || w >= 0x80)) {
                    break;
                }
                t.text += static_cast<char>(std::toupper(w));
                ++i;
            }
            tokens.push_back(std::move(t));
        } else {
            tokens.push_back({Token::Kind::Sep, std::string(1, static_cast<char>(c)), 0, 0});
            ++i;
        }
    }
    return tokens;
}

bool IsNumber(const std::vector<Token>& t, std::size_t i) {
    return i < t.size() && t[i].kind == Token::Kind::Number;
}
bool IsSep(const std::vector<Token>& t, std::size_t i, char c) {
    return i < t.size() && t[i].kind == Token::Kind::Sep && t[i].text[0] == c;
}

// Parses "H:m[:s]" starting at i, with an optional AM/PM word before or after.
std::optional<std::int64_t> ParseTimeOfDay(const std::vector<Token>& t, std::size_t i) {
    if (i >= t.size()) {
        return 0;
    }
    int meridiem = 0; // 1 AM, 2 PM
    auto readMeridiem = [&](std::size_t k) {
        if (k < t.size() && t[k].kind == Token::Kind::Word) {
            const std::string& w = t[k].text;
            if (w == "AM" || w == "A" || w == "午前") {
                meridiem = 1;
                return true;
            }
            if (w == "PM" || w == "P" || w == "午後") {
                meridiem = 2;
                return true;
            }
        }
        return false;
    };
    if (readMeridiem(i)) {
        ++i;
    }
    if (!IsNumber(t, i) || !IsSep(t, i + 1, ':') || !IsNumber(t, i + 2)) {
        return std::nullopt;
    }
    long long h = t[i].value;
    const long long mi = t[i + 2].value;
    long long s = 0;
    i += 3;
    if (IsSep(t, i, ':') && IsNumber(t, i + 1)) {
        s = t[i + 1].value;
        i += 2;
    }
    if (IsSep(t, i, '.') && IsNumber(t, i + 1)) {
        i += 2; // fractions of a second are dropped
    }
    if (meridiem == 0 && readMeridiem(i)) {
        ++i;
    }
    if (i != t.size()) {
        return std::nullopt;
    }
    if (meridiem != 0) {
        if (h < 1 || h > 12) {
            return std::nullopt;
        }
        h = (h % 12) + (meridiem == 2 ? 12 : 0);
    }
    if (h > 23 || mi > 59 || s > 59) {
        return std::nullopt;
    }
    return h * 3600 + mi * 60 + s;
}

int ExpandYear(long long y, int digits) {
    if (digits <= 2) {
        // Two-digit years follow the common 1930-2029 window.
        return static_cast<int>(y < 30 ? 2000 + y : 1900 + y);
    }
    return static_cast<int>(y);
}

} // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

std::optional<CivilTime> CivilTime::FromParts(int year, int month, int day, int hour, int minute,
                                              int second) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59) {
        return std::nullopt;
    }
    const std::int64_t days =
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    return FromSerial(days * kSecondsPerDay + std::int64_t{hour} * 3600 +
                      std::int64_t{minute} * 60 + second);
}

int CivilTime::Year() const {
    return CivilFromDays(DayNumber()).y;
}
int CivilTime::Month() const {
    return CivilFromDays(DayNumber()).m;
}
int CivilTime::Day() const {
    return CivilFromDays(DayNumber()).d;
}

std::int64_t MinutesBetween(CivilTime a, CivilTime b) {
    const auto floorMinutes = [](std::int64_t s) {
        return s / 60 - (s % 60 < 0 ? 1 : 0);
    };
    return floorMinutes(b.Serial()) - floorMinutes(a.Serial());
}

std::string FormatHourMinute(CivilTime t) {
    return Printf("%02d:%02d", t.Hour(), t.Minute());
}

std::string FormatSettingsTime(CivilTime t) {
    const Ymd d = CivilFromDays(t.DayNumber());
    return Printf("%04d/%02d/%02d %d:%02d:%02d", d.y, d.m, d.d, t.Hour(), t.Minute(), t.Second());
}

std::string FormatIsoTime(CivilTime t) {
    const Ymd d = CivilFromDays(t.DayNumber());
    return Printf("%04d-%02d-%02dT%02d:%02d:%02d", d.y, d.m, d.d, t.Hour(), t.Minute(), t.Second());
}

std::optional<CivilTime> ParseIsoTime(std::string_view text) {
    constexpr std::string_view kPattern = "dddd-dd-ddTdd:dd:dd";
    if (text.size() != kPattern.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kPattern[i] == 'd' ? !digit : text[i] != kPattern[i]) {
            return std::nullopt;
        }
    }
    const auto part = [text](std::size_t at, std::size_t size) {
        int value = 0;
        std::from_chars(text.data() + at, text.data() + at + size, value);
        return value;
    };
    return CivilTime::FromParts(part(0, 4), part(5, 2), part(8, 2), part(11, 2), part(14, 2),
                                part(17, 2));
}

std::optional<CivilTime> ParseMonthDayTime(std::string_view text, int year) {
    const auto tokens = Tokenize(text);
    if (!tokens) {
        return std::nullopt;
    }
    const auto& t = *tokens;
    if (!IsNumber(t, 0) || !IsSep(t, 1, '/') || !IsNumber(t, 2)) {
        return std::nullopt;
    }
    const auto month = static_cast<int>(t[0].value);
    const auto day = static_cast<int>(t[2].value);
    const auto seconds = ParseTimeOfDay(t, 3);
    if (!seconds) {
        return std::nullopt;
    }
    const auto date = CivilTime::FromParts(year, month, day);
    if (!date) {
        return std::nullopt;
    }
    return date->AddSeconds(*seconds);
}

std::optional<CivilTime> ParseSettingsTime(std::string_view text) {
    const auto tokens = Tokenize(text);
    if (!tokens) {
        return std::nullopt;
    }
    const auto& t = *tokens;
    if (!IsNumber(t, 0) || t.size() < 5 || t[1].kind != Token::Kind::Sep || !IsNumber(t, 2) ||
        !IsSep(t, 3, t[1].text[0]) || !IsNumber(t, 4)) {
        return std::nullopt;
    }
    const char sep = t[1].text[0];
    if (sep != '/' && sep != '-' && sep != '.') {
        return std::nullopt;
    }
    long long y = 0;
    long long m = 0;
    long long d = 0;
    int yearDigits = 4;
    if (t[0].digits >= 3) { // year first
        y = t[0].value;
        m = t[2].value;
        d = t[4].value;
    } else if (t[4].digits >= 3) { // year last: d.M.yyyy in Europe, M/d/yyyy in the US
        y = t[4].value;
        if (sep == '/') {
            m = t[0].value;
            d = t[2].value;
        } else {
            d = t[0].value;
            m = t[2].value;
        }
    } else { // two-digit year first, as in "yy/M/dd"
        y = t[0].value;
        yearDigits = t[0].digits;
        m = t[2].value;
        d = t[4].value;
    }
    std::size_t i = 5;
    if (i < t.size() && t[i].kind == Token::Kind::Word && t[i].text == "T") {
        ++i;
    }
    const auto seconds = ParseTimeOfDay(t, i);
    if (!seconds || m > 12 || d > 31) {
        return std::nullopt;
    }
    const auto date =
        CivilTime::FromParts(ExpandYear(y, yearDigits), static_cast<int>(m), static_cast<int>(d));
    if (!date) {
        return std::nullopt;
    }
    return date->AddSeconds(*seconds);
}

} // namespace amperlog
