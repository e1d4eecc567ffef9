#include "platform/fake/fake_time_zone.h"
#include "platform/qt/qt_time_zone.h"

#include <gtest/gtest.h>

namespace amperlog {
namespace {

// The system's rules for Berlin agree with the hand-told ones the usage tests go by, on
// either side of each change; no QApplication is needed.
TEST(QtTimeZoneRules, AgreesWithTheHandToldCentralEurope) {
    const QtTimeZoneRules berlin(QTimeZone("Europe/Berlin"));
    const FakeTimeZoneRules fake = FakeTimeZoneRules::CentralEurope();
    constexpr std::int64_t kDay = 86400;
    for (const std::int64_t change : {20541 * kDay + 3600, 20751 * kDay + 3600}) {
        for (const std::int64_t at : {change - 3 * kDay, change - 1, change, change + kDay}) {
            SCOPED_TRACE(at);
            EXPECT_EQ(berlin.UtcOffsetAt(at), fake.UtcOffsetAt(at));
        }
    }
    EXPECT_NE(fake.UtcOffsetAt(20751 * kDay + 3600 - 1), fake.UtcOffsetAt(20751 * kDay + 3600));
}

} // namespace
} // namespace amperlog
