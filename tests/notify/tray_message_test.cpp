#include "notify/tray_message.h"

#include <gtest/gtest.h>
#include <limits>

namespace amperlog {
namespace {

struct DecodeCase {
    double x;
    double unitsPerPixel;
    std::int16_t message;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << "x=" << c.x << " per pixel " << c.unitsPerPixel;
}

class DecodeTrayMessageTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTrayMessageTest, KeepsOnlyTheTwoButtonPresses) {
    EXPECT_EQ(DecodeTrayMessage(GetParam().x, GetParam().unitsPerPixel), GetParam().message);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeTrayMessageTest,
    ::testing::Values(DecodeCase{513 * 15.0, 15, 513}, DecodeCase{516 * 15.0, 15, 516},
                      DecodeCase{513, 1, 513}, DecodeCase{516 * 12.0, 12, 516},
                      // rounded to the nearest pixel
                      DecodeCase{513 * 15.0 + 7, 15, 513}, DecodeCase{516 * 15.0 - 7, 15, 516},
                      DecodeCase{513 * 15.0 + 8, 15, 0},
                      // releases and double clicks
                      DecodeCase{514 * 15.0, 15, 0}, DecodeCase{515 * 15.0, 15, 0},
                      DecodeCase{517 * 15.0, 15, 0}, DecodeCase{0, 15, 0},
                      DecodeCase{-513 * 15.0, 15, 0},
                      // unreadable
                      DecodeCase{513 * 15.0, 0, 0}, DecodeCase{513 * 15.0, -15, 0},
                      DecodeCase{kNaN, 15, 0}, DecodeCase{513, kNaN, 0}, DecodeCase{kInf, 15, 0},
                      DecodeCase{1e300, 1e-300, 0}));

TEST(DecideTrayActionTest, OnlyTheRightButtonOpensTheMenu) {
    EXPECT_EQ(DecideTrayAction(kTrayRightButtonDown), TrayAction::ShowPopupMenu);
    for (const std::int16_t message :
         {kTrayLeftButtonDown, kTrayLeftButtonDoubleClick, kTrayMiddleButtonDown, std::int16_t{0},
          std::int16_t{514}, std::int16_t{517}, std::int16_t{-516}}) {
        EXPECT_EQ(DecideTrayAction(message), TrayAction::None) << message;
    }
}

} // namespace
} // namespace amperlog
