#include "helpers/numeric.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace amperlog {

double NumericValue(std::string_view text) {
    // The common case, a short whole number such as "85%" or "3600" (a day's log holds
    // 86,400 of them), read without the copy when nothing after its digits could continue it.
    std::size_t digits = 0;
    std::int64_t whole = 0;
    while (digits < text.size() && digits < 9 && text[digits] >= '0' && text[digits] <= '9') {
        whole = whole * 10 + (text[digits] - '0');
        ++digits;
    }
    if (digits > 0) {
        const char next = digits < text.size() ? text[digits] : '\0';
        const bool continues = (next >= '0' && next <= '9') || next == '.' || next == 'e' ||
                               next == 'E' || next == ' ' || next == '\t' || next == '\n' ||
                               next == '\r';
        if (!continues) {
            return static_cast<double>(whole);
        }
    }
    // Blanks anywhere are ignored, so "1 2" reads as 12: a stray blank in a hand-typed number
    // costs nothing.
    std::string compact;
    compact.reserve(text.size() < 64 ? text.size() : 64);
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            continue;
        }
        compact.push_back(c);
        if (compact.size() > 400) {
            break; // no number we accept is that long; bounds the work on huge values
        }
    }
    std::size_t i = 0;
    const std::size_t n = compact.size();
    if (i < n && (compact[i] == '+' || compact[i] == '-')) {
        ++i;
    }
    std::size_t mantissaDigits = 0;
    while (i < n && compact[i] >= '0' && compact[i] <= '9') {
        ++i;
        ++mantissaDigits;
    }
    if (i < n && compact[i] == '.') {
        ++i;
        while (i < n && compact[i] >= '0' && compact[i] <= '9') {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) {
        return 0.0;
    }
    std::size_t end = i;
    if (i < n && (compact[i] == 'e' || compact[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (compact[j] == '+' || compact[j] == '-')) {
            ++j;
        }
        const std::size_t digitsStart = j;
        while (j < n && compact[j] >= '0' && compact[j] <= '9') {
            ++j;
        }
        if (j > digitsStart) {
            end = j;
        }
    }
    std::size_t begin = 0;
    if (compact[0] == '+') {
        begin = 1; // from_chars takes no plus sign
    }
    double value = 0.0;
    const auto result = std::from_chars(compact.data() + begin, compact.data() + end, value);
    if (result.ec != std::errc() || !std::isfinite(value)) {
        return 0.0;
    }
    return value;
}

double RoundHalfEven(double value) {
    if (std::isnan(value)) {
        return 0.0;
    }
    return std::nearbyint(value); // the default rounding mode is to nearest, ties to even
}

double RoundHalfAway(double value) {
    if (std::isnan(value)) {
        return 0.0;
    }
    return std::round(value);
}

std::optional<std::int16_t> ToInt16(double value) {
    if (std::isnan(value)) {
        return std::nullopt;
    }
    const double r = RoundHalfEven(value);
    if (r < std::numeric_limits<std::int16_t>::min() ||
        r > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(r);
}

std::int16_t ToInt16Clamped(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double r = RoundHalfEven(value);
    if (r < std::numeric_limits<std::int16_t>::min()) {
        return std::numeric_limits<std::int16_t>::min();
    }
    if (r > std::numeric_limits<std::int16_t>::max()) {
        return std::numeric_limits<std::int16_t>::max();
    }
    return static_cast<std::int16_t>(r);
}

std::optional<std::int64_t> ParseWholeNumber(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParseDecimalNumber(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string FormatNumber(double value) {
    if (!std::isfinite(value)) {
        return "0";
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return {buffer, result.ptr};
}

std::string FormatDecimal(double value, int decimals) {
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return error == std::errc() ? std::string(buffer, end) : std::string();
}

} // namespace amperlog
