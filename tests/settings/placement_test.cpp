#include "platform/fake/fake_screen_metrics.h"
#include "settings/placement.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace amperlog {

// Found by GoogleTest through the type's namespace.
void PrintTo(const WindowRect& r, std::ostream* out) {
    *out << r.left << "," << r.top << "," << r.width << "," << r.height;
}

namespace {

using test::TempFolder;

constexpr const char* kNothing = nullptr;
constexpr double kWidth = 1920.0 * 15;  // 28800 twips
constexpr double kHeight = 1080.0 * 15; // 16200 twips

TEST(Placement, LoadAppliesEveryRule) {
    const WindowRect design{100, 200, 4800, 3600};
    struct Case {
        const char* stored; // kNothing: no value stored
        int twipsPerPixel;
        WindowRect current;
        WindowRect expected;
    } cases[] = {
        {kNothing, 15, design, {12000, 6300, 4800, 3600}},
        {kNothing, 15, {0, 0, 4801, 3601}, {11999, 6299, 4801, 3601}},
        // Rounded to even before halving: 23999.5 -> 24000 -> 12000, 12598.5 -> 12598 -> 6299.
        {kNothing, 15, {0, 0, 4800.5, 3601.5}, {12000, 6299, 4800.5, 3601.5}},
        // Wider than the screen: truncated toward zero.
        {kNothing, 15, {0, 0, 28801, 16201}, {0, 0, 28801, 16201}},
        {kNothing, 15, {0, 0, 28803, 16200}, {-1, 0, 28803, 16200}},
        {"1200,900,4800,3600", 15, design, {1200, 900, 4800, 3600}},
        {"1200.5,900.25,4800,3600", 15, design, {1200.5, 900.25, 4800, 3600}},
        // A minimised window comes back at the margin.
        {"-48000,-48000,2400,450", 15, design, {-960, -960, 2400, 450}},
        {"-960,-960,2400,450", 15, design, {-960, -960, 2400, 450}},
        {"-48000,-48000", 20, design, {-1280, -1280, 4800, 3600}},
        {"28900,0", 15, design, {27840, 0, 4800, 3600}},
        {"28800,0", 15, design, {28800, 0, 4800, 3600}},
        {"0,16190", 15, design, {0, 15240, 4800, 3600}},
        {"0,15240", 15, design, {0, 15240, 4800, 3600}},
        {"0,15241", 15, design, {0, 15240, 4800, 3600}},
        {"500,600", 15, design, {500, 600, 4800, 3600}},
        {"500", 15, design, {500, 0, 4800, 3600}},
        {"abc,def,ghi,jkl", 15, design, {0, 0, 4800, 3600}},
        {"500,600,,3000", 15, design, {500, 600, 4800, 3000}},
        {" 5 00 , 600 ,2000 ,3000,99", 15, design, {500, 600, 2000, 3000}},
        // Sizes that would make the window vanish keep the current size.
        {"500,600,0,-5", 15, design, {500, 600, 4800, 3600}},
        {"500,600, ,x", 15, design, {500, 600, 4800, 3600}},
        {"500,600,14,15", 15, design, {500, 600, 4800, 15}},
        {"500,600,1e30,491520", 15, design, {500, 600, 4800, 3600}},
        {"500,600,491505,20", 15, design, {500, 600, 491505, 20}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored == kNothing ? "<nothing>" : c.stored);
        TempFolder folder;
        if (c.stored != kNothing) {
            test::WriteFileBytes(folder / "a.ini",
                                 std::string("[Windows]\r\nMain=") + c.stored + "\r\n");
        }
        FakeScreenMetrics screen(c.twipsPerPixel, kWidth, kHeight);
        SettingsStore store(folder / "a.ini", &screen);
        EXPECT_EQ(LoadPlacement(store, kKeyMain, c.current, kWidth, kHeight), c.expected);
        EXPECT_EQ(store.TwipsPerPixel(), c.twipsPerPixel);
    }
}

TEST(Placement, SaveThenLoadGivesTheSameRectangle) {
    TempFolder folder;
    FakeScreenMetrics screen;
    SettingsStore store(folder / "a.ini", &screen);
    SavePlacement(store, kKeyEditor, {1200, 900, 4800, 3600});
    SavePlacement(store, kKeyMain, {-15.5, 30.25, 5000, 2500.75});
    EXPECT_EQ(test::ReadFileBytes(folder / "a.ini"),
              "[Windows]\r\nEditor=1200,900,4800,3600\r\nMain=-15.5,30.25,5000,2500.75\r\n");
    const WindowRect other{1, 2, 3, 4};
    EXPECT_EQ(LoadPlacement(store, kKeyMain, other, kWidth, kHeight),
              (WindowRect{-15.5, 30.25, 5000, 2500.75}));
    EXPECT_EQ(LoadPlacement(store, "editor", other, kWidth, kHeight),
              (WindowRect{1200, 900, 4800, 3600}));
}

} // namespace
} // namespace amperlog
