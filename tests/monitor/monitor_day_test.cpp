// A whole day of ticks: slow under emulators, so it runs with the soak tests.
#include "monitor_fixture.h"

namespace amperlog {
namespace {

using namespace test;

// A whole day of ticks through midnight, with the status changing now and then.
TEST_F(MonitorTest, SimulatedDayThroughMidnight) {
    clock.SetNow(At(2026, 12, 6, 12, 0, 0));
    monitor.Startup();
    int changes = 0;
    for (int second = 1; second <= 86400; ++second) {
        if (second % 5000 == 0) {
            ++changes;
            power.Set({0, 1, static_cast<std::uint8_t>(85 - changes), 3600, 10800});
        }
        clock.Advance(1);
        monitor.Tick();
    }
    const auto first = Lines(LogOf(At(2026, 12, 6, 0, 0, 0)));
    const auto second = Lines(LogOf(At(2026, 12, 7, 0, 0, 0)));
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    EXPECT_EQ(Marker(first.front()), "Monitor");
    EXPECT_EQ(second.front(),
              "12/07 00:00:00,Batt," + std::to_string(85 - 43200 / 5000) + "%,3600,day changed");

    int plus = 0;
    int changed = 0;
    int dayChanged = 0;
    std::optional<CivilTime> previous;
    for (const auto* file : {&first, &second}) {
        for (const auto& line : *file) {
            const std::string marker = Marker(line);
            plus += marker == "+";
            changed += marker.empty();
            dayChanged += marker == "day changed";
            const int year = 2026;
            const auto t = ParseLogStamp(line.substr(0, line.find(',')), year);
            ASSERT_TRUE(t) << line;
            if (previous) {
                // Never more than one interval apart, never two lines in one tick but for
                // the day change.
                EXPECT_LE(SecondsBetween(*previous, *t), 450) << line;
            }
            previous = t;
        }
    }
    EXPECT_EQ(changed, changes);
    EXPECT_EQ(dayChanged, 1);
    EXPECT_GE(plus, 86400 / 450 - changes - 2);
    EXPECT_LE(plus, 86400 / 450);
}

} // namespace
} // namespace amperlog
