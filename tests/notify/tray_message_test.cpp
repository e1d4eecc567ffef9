#include "notify/tray_message.h"

#include <gtest/gtest.h>

namespace amperlog {
namespace {

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
