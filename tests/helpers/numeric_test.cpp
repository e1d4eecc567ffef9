#include "helpers/numeric.h"

#include <gtest/gtest.h>
#include <limits>

namespace amperlog {
namespace {

TEST(Numeric, ValueOfText) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"85%", 85},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"   ", 0},
        {" 7.5 ", 7.5},
        {"-12", -12},
        {"+3", 3},
        {"1 2", 12},
        {"0.5", 0.5},
        {".5", 0.5},
        {"1.2.3", 1.2},
        {"1e3", 1000},
        {"1e", 1},
        {"2E-1x", 0.2},
        {"1e999", 0},
        {"NaN", 0},
        {"inf", 0},
        {"-", 0},
        {".", 0},
        {"\t3\n", 3},
        {"3600", 3600},
        {"Charge", 0},
        {"0x10", 0},
        // Around the short way for whole numbers: what follows the digits may continue them.
        {"123456789", 123456789},
        {"1234567890", 1234567890},
        {"12345678901%", 12345678901},
        {"85 %", 85},
        {"8 5%", 85},
        {"12.5%", 12.5},
        {"12e2%", 1200},
        {"12E1", 120},
        {"7\r\n", 7},
        {"007", 7},
        {"0", 0},
        {"42,3", 42},
        {"9-1", 9},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(NumericValue(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(Numeric, HugeTextIsBounded) {
    EXPECT_DOUBLE_EQ(NumericValue(std::string(10'000'000, '9')), 0);
    EXPECT_DOUBLE_EQ(NumericValue("5" + std::string(10'000'000, 'x')), 5);
}

TEST(Numeric, Rounding) {
    struct Case {
        double in, even, away;
    } cases[] = {
        {7.5, 8, 8},    {6.5, 6, 7},  {-0.5, 0, -1},     {2.5, 2, 3},
        {-2.5, -2, -3}, {0.49, 0, 0}, {120.5, 120, 121},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundHalfEven(c.in), c.even) << c.in;
        EXPECT_EQ(RoundHalfAway(c.in), c.away) << c.in;
    }
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(Numeric, ToInt16DetectsOverflow) {
    EXPECT_EQ(ToInt16(32767.4), 32767);
    EXPECT_EQ(ToInt16(-32768), -32768);
    EXPECT_FALSE(ToInt16(32767.5));
    EXPECT_FALSE(ToInt16(-32769));
    EXPECT_FALSE(ToInt16(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(ToInt16Clamped(1e9), 32767);
    EXPECT_EQ(ToInt16Clamped(-1e9), -32768);
    EXPECT_EQ(ToInt16Clamped(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(Numeric, FormatNumberRoundTrips) {
    EXPECT_EQ(FormatNumber(1.0), "1");
    EXPECT_EQ(FormatNumber(0.5), "0.5");
    EXPECT_EQ(FormatNumber(-12), "-12");
    for (double v : {0.1, 1e-7, 123456.789, -0.25}) {
        EXPECT_DOUBLE_EQ(NumericValue(FormatNumber(v)), v);
    }
}

} // namespace
} // namespace amperlog
