#include "platform/windows/balloon_desktop_notifier.h"

#include <windows.h>

// After windows.h, which it needs.
#include <gtest/gtest.h>
#include <shellapi.h>

namespace amperlog {
namespace {

// The picture says how much a balloon matters; news of a full battery is no warning.
TEST(BalloonInfoFlags, PictureFollowsTheKind) {
    EXPECT_EQ(BalloonInfoFlags(NotificationKind::Info) & NIIF_ICON_MASK, DWORD{NIIF_INFO});
    EXPECT_EQ(BalloonInfoFlags(NotificationKind::Warning) & NIIF_ICON_MASK, DWORD{NIIF_WARNING});
    EXPECT_EQ(BalloonInfoFlags(NotificationKind::Critical), DWORD{NIIF_ERROR});
}

} // namespace
} // namespace amperlog
