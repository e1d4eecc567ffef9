#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace amperlog {

// The numeric value of a text: blanks, tabs and line breaks anywhere are ignored, then the
// longest leading number (sign, digits with at most one ".", optional exponent) is taken;
// 0 when there is none. "85%" gives 85, "12abc" 12, "abc" 0. Never NaN or infinite: a
// number beyond the range of a double gives 0.
double NumericValue(std::string_view text);

// Rounds halves to the even neighbour: 7.5 -> 8, 6.5 -> 6. NaN gives 0.
double RoundHalfEven(double value);
// Rounds halves away from zero: -0.5 -> -1, 2.5 -> 3. NaN gives 0.
double RoundHalfAway(double value);

// The value rounded half-to-even as a 16-bit integer; nullopt when it overflows (or is NaN).
std::optional<std::int16_t> ToInt16(double value);
// The same, clamped to the 16-bit range instead of failing; NaN gives 0.
std::int16_t ToInt16Clamped(double value);

// A whole field read as a number with a point whatever the locale, through from_chars:
// nullopt for an empty field, trailing text, or (for the decimal) NaN and infinity.
std::optional<std::int64_t> ParseWholeNumber(std::string_view text);
std::optional<double> ParseDecimalNumber(std::string_view text);

// Shortest decimal text that reads back as the same double: 1, 0.5, -12, 0.25.
std::string FormatNumber(double value);
// Fixed decimals with a point whatever the locale: 24.05; empty when it does not fit.
std::string FormatDecimal(double value, int decimals);

} // namespace amperlog
