#include "reportwindow/battery_report_window.h"

#include "graphs/health_graph.h"
#include "health/health_view.h"
#include "platform/qt/qt_fonts.h"
#include "platform/qt/qt_picture_surface.h"
#include "platform/qt/qt_text.h"
#include "reportwindow/report_pages.h"
#include "texts/catalogue.h"

#include <QKeyEvent>
#include <QPalette>
#include <QTabBar>

namespace amperlog {
namespace {

// Wide enough for 30 bars with a day's drain printed under each.
constexpr int kWidthPixels = 1000;
constexpr int kHeightPixels = 560;
constexpr int kMarginPixels = 8;
constexpr int kTabsPixels = 30;

// The main window's colours: its teal frame, black pictures, grey and white text.
const QString kTabStyle =
    QStringLiteral("QTabBar::tab { background: rgb(0, 71, 85); color: rgb(192, 192, 192);"
                   " border: none; padding: 5px 18px; margin-right: 2px; }"
                   "QTabBar::tab:selected { background: black; color: white; }"
                   "QTabBar::tab:hover:!selected { color: white; }");

} // namespace

BatteryReportWindow::BatteryReportWindow(BatteryHealthSource* source,
                                         std::filesystem::path programFolder,
                                         const TimeZoneRules& zone, QWidget* parent)
    : QWidget(parent, Qt::Window), m_source(source), m_programFolder(std::move(programFolder)),
      m_zone(zone), m_tabs(new QTabBar(this)) {
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(QtText(TextId::ReportTitle));
    QPalette frame = palette();
    frame.setColor(QPalette::Window, QColor(0, 71, 85));
    setPalette(frame);
    setAutoFillBackground(true);
    setFixedSize(kWidthPixels, kHeightPixels);

    m_tabs->setObjectName(QStringLiteral("tabReport"));
    m_tabs->setStyleSheet(kTabStyle);
    m_tabs->setFont(UiFont(10));
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    for (const TextId name :
         {TextId::ReportPageHealth, TextId::ReportPageUsage, TextId::ReportPageSleep}) {
        m_tabs->addTab(QtText(name));
    }
    m_tabs->setGeometry(kMarginPixels, kMarginPixels, kWidthPixels - 2 * kMarginPixels,
                        kTabsPixels);

    const char* names[] = {"picHealth", "picUsage", "picSleep"};
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        m_pages[i] = new QtPictureSurface(this);
        m_pages[i]->setObjectName(QString::fromLatin1(names[i]));
        // Sized now, not by a layout when shown: the pictures are drawn before the window shows.
        m_pages[i]->setGeometry(kMarginPixels, kMarginPixels + kTabsPixels,
                                kWidthPixels - 2 * kMarginPixels,
                                kHeightPixels - 2 * kMarginPixels - kTabsPixels);
    }
    // The arrow keys turn the pages.
    m_tabs->setFocusPolicy(Qt::StrongFocus);
    m_tabs->setFocus();
    connect(m_tabs, &QTabBar::currentChanged, this,
            [this](int index) { ShowPage(static_cast<Page>(index)); });
    ShowPage(Page::Health);
}

void BatteryReportWindow::Refresh(CivilTime now, int loggingIntervalMinutes) {
    const std::vector<BatteryHealthReading> readings =
        m_source != nullptr ? m_source->Read() : std::vector<BatteryHealthReading>{};
    Draw(BuildBatteryReport(m_programFolder, now, loggingIntervalMinutes, m_zone), readings);
}

void BatteryReportWindow::Draw(const BatteryReport& report,
                               const std::vector<BatteryHealthReading>& readings) {
    DrawHealthGraph(Surface(Page::Health),
                    HealthViewInput(readings, report.diary, report.madeAt.DayNumber()));
    m_usage = DrawUsageGraph(Surface(Page::Usage), UsagePageInput(report));
    DrawTextTable(Surface(Page::Sleep), SleepPageInput(report));
}

void BatteryReportWindow::ShowPage(Page page) {
    const auto index = static_cast<std::size_t>(page);
    m_tabs->setCurrentIndex(static_cast<int>(index));
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        m_pages[i]->setVisible(i == index);
    }
}

// A view to glance at: Escape puts it away.
void BatteryReportWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace amperlog
