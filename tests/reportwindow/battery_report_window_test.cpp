#include "platform/qt/qt_picture_surface.h"
#include "platform/qt/qt_text.h"
#include "platform/time_zone.h"
#include "qt_test_application.h"
#include "reportwindow/battery_report_window.h"
#include "reportwindow/report_pages.h"
#include "temp_folder.h"

#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

namespace amperlog {
namespace {

class Utc final : public TimeZoneRules {
public:
    std::int64_t UtcOffsetAt(std::int64_t) const override { return 0; }
};

// Three days, each with a different part at the bottom of its bar: battery, mains, unseen.
BatteryReport ThreeDays() {
    BatteryReport report;
    report.madeAt = *CivilTime::FromParts(2026, 10, 26, 12);
    const std::int64_t today = report.madeAt.DayNumber();
    report.days = {
        {today - 2, 6 * 3600, 10 * 3600, 4 * 3600, 4 * 3600, 30, 9.5, 7.25},
        {today - 1, 0, 16 * 3600, 8 * 3600, 0, 0, std::nullopt, std::nullopt},
        {today, 0, 0, 0, 12 * 3600, 0, std::nullopt, std::nullopt},
    };
    return report;
}

TEST(BatteryReportWindowTest, ThreePagesAndTheUsagePageDrawsEachDay) {
    test::TestApplication();
    test::TempFolder folder;
    const Utc zone;
    BatteryReportWindow window(nullptr, folder.Path(), zone);
    window.Draw(ThreeDays(), {});
    window.show();

    auto* tabs = window.findChild<QTabBar*>(QStringLiteral("tabReport"));
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), QtText(TextId::ReportPageHealth));
    EXPECT_EQ(tabs->tabText(1), QtText(TextId::ReportPageUsage));
    EXPECT_EQ(tabs->tabText(2), QtText(TextId::ReportPageSleep));
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    EXPECT_FALSE(window.Surface(BatteryReportWindow::Page::Health).isVisible());
    EXPECT_TRUE(window.Surface(BatteryReportWindow::Page::Usage).isVisible());

    QtPictureSurface& usage = window.Surface(BatteryReportWindow::Page::Usage);
    const QImage picture = usage.Picture();
    const UsageGraphState& drawn = window.UsageDrawn();
    ASSERT_EQ(drawn.barCentres.size(), 3U);
    const std::size_t bottoms[] = {0, 1, 3};
    for (std::size_t d = 0; d < 3; ++d) {
        const int twips = usage.TwipsPerPixel();
        const QColor pixel = picture.pixelColor(static_cast<int>(drawn.barCentres[d]) / twips,
                                                static_cast<int>(drawn.baseline) / twips - 3);
        const Rgb expected = kUsageColors[bottoms[d]];
        EXPECT_EQ(pixel.name().toStdString(),
                  QColor(expected.r, expected.g, expected.b).name().toStdString())
            << d;
    }
}

// The newest sleep heads the table; without any, a sentence and no table.
TEST(BatteryReportWindowTest, SleepPageNewestFirstOrASentence) {
    BatteryReport report = ThreeDays();
    EXPECT_EQ(SleepPageInput(report).captions,
              std::vector<std::string>{std::string(Text(TextId::SleepNone))});
    EXPECT_TRUE(SleepPageInput(report).rows.empty());
    for (const int day : {22, 24}) {
        SleepDrain drain;
        drain.sleep.start = *CivilTime::FromParts(2026, 10, day, 2);
        drain.sleep.seconds = 3 * 3600 + 5 * 60;
        report.sleeps.push_back(drain);
    }
    const TextTableInput table = SleepPageInput(report);
    ASSERT_EQ(table.rows.size(), 2U);
    EXPECT_EQ(table.rows[0][0], "2026/10/24 02:00");
    EXPECT_EQ(table.rows[1][0], "2026/10/22 02:00");
    EXPECT_EQ(table.rows[0][1], "3:05");
}

} // namespace
} // namespace amperlog
