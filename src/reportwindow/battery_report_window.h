#pragma once

#include "graphs/usage_graph.h"
#include "helpers/civil_time.h"
#include "platform/battery_health.h"
#include "usage/battery_report.h"

#include <QWidget>
#include <array>
#include <filesystem>
#include <vector>

class QTabBar;

namespace amperlog {

class QtPictureSurface;
class TimeZoneRules;

// The battery report (frmReport): three pages on pictures in the main window's colours, the
// health graph, the usage per day and the sleeps, chosen by tabs. Reads the batteries and
// the program folder each time it is shown.
class BatteryReportWindow final : public QWidget {
    Q_OBJECT
public:
    enum class Page { Health, Usage, Sleep };

    // source may be null: the Health page then shows the diary alone.
    BatteryReportWindow(BatteryHealthSource* source, std::filesystem::path programFolder,
                        const TimeZoneRules& zone, QWidget* parent = nullptr);

    // Reads and draws again as of now, with the logging interval in force.
    void Refresh(CivilTime now, int loggingIntervalMinutes);
    // Draws the pages of a report already read, with the batteries' readings of today.
    void Draw(const BatteryReport& report, const std::vector<BatteryHealthReading>& readings);

    void ShowPage(Page page);
    QtPictureSurface& Surface(Page page) { return *m_pages[static_cast<std::size_t>(page)]; }
    // Where the Usage page put its bars, for tests.
    const UsageGraphState& UsageDrawn() const { return m_usage; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    BatteryHealthSource* m_source;
    std::filesystem::path m_programFolder;
    const TimeZoneRules& m_zone;
    QTabBar* m_tabs;
    std::array<QtPictureSurface*, 3> m_pages{};
    UsageGraphState m_usage;
};

} // namespace amperlog
