// The numeric value of a text and the conversions every setting goes through: never NaN or
// infinite, blind to blanks and to what follows the number, and every finite double written
// by FormatNumber reads back exactly. Doubles are also taken raw from the input, NaN and
// infinities included, for the rounding and 16-bit conversions.
#include "fuzz_support.h"
#include "helpers/numeric.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <limits>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    double raw = 0;
    const auto rawBytes = input.ConsumeBytes<std::uint8_t>(sizeof raw);
    if (!rawBytes.empty()) {
        std::memcpy(&raw, rawBytes.data(), rawBytes.size());
    }
    const std::string text = input.ConsumeRemainingBytesAsString();

    const double value = amperlog::NumericValue(text);
    AMPERLOG_FUZZ_CHECK(std::isfinite(value));
    AMPERLOG_FUZZ_CHECK(amperlog::NumericValue(" \t" + text) == value);
    AMPERLOG_FUZZ_CHECK(amperlog::NumericValue(text + "%") == value);
    AMPERLOG_FUZZ_CHECK(amperlog::NumericValue(amperlog::FormatNumber(value)) == value);

    for (const double x : {raw, value}) {
        const double even = amperlog::RoundHalfEven(x);
        const double away = amperlog::RoundHalfAway(x);
        AMPERLOG_FUZZ_CHECK(!std::isnan(even) && !std::isnan(away));
        if (std::isfinite(x)) {
            AMPERLOG_FUZZ_CHECK(std::fabs(even - x) <= 0.5 && std::fabs(away - x) <= 0.5);
            AMPERLOG_FUZZ_CHECK(amperlog::NumericValue(amperlog::FormatNumber(x)) == x);
        } else {
            AMPERLOG_FUZZ_CHECK(amperlog::FormatNumber(x) == "0");
        }
        const std::int16_t clamped = amperlog::ToInt16Clamped(x);
        const auto exact = amperlog::ToInt16(x);
        if (exact) {
            AMPERLOG_FUZZ_CHECK(*exact == clamped);
            AMPERLOG_FUZZ_CHECK(static_cast<double>(*exact) == even);
        } else {
            AMPERLOG_FUZZ_CHECK(std::isnan(x) ||
                                clamped == std::numeric_limits<std::int16_t>::min() ||
                                clamped == std::numeric_limits<std::int16_t>::max());
        }
    }
    return 0;
}
