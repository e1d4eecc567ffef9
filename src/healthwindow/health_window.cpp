#include "healthwindow/health_window.h"

#include "health/health_view.h"
#include "platform/battery_health.h"
#include "platform/qt/qt_picture_surface.h"
#include "texts/catalogue.h"

#include <QKeyEvent>
#include <QPalette>

namespace amperlog {
namespace {

constexpr int kWidthPixels = 720;
constexpr int kHeightPixels = 420;

} // namespace

HealthWindow::HealthWindow(BatteryHealthSource* source, std::filesystem::path diaryPath,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), m_source(source), m_diaryPath(std::move(diaryPath)),
      m_surface(new QtPictureSurface(this)) {
    setObjectName(QStringLiteral("frmHealth"));
    setWindowTitle(QString::fromUtf8(Text(TextId::HealthTitle).data(),
                                     static_cast<qsizetype>(Text(TextId::HealthTitle).size())));
    m_surface->setObjectName(QStringLiteral("picHealth"));
    // Sized now, not by a layout when shown: the picture is drawn before the window shows.
    m_surface->setGeometry(0, 0, kWidthPixels, kHeightPixels);
    QPalette dark = palette();
    dark.setColor(QPalette::Window, Qt::black);
    setPalette(dark);
    setAutoFillBackground(true);
    setFixedSize(kWidthPixels, kHeightPixels);
}

void HealthWindow::Refresh(CivilTime now) {
    const std::vector<BatteryHealthReading> readings =
        m_source != nullptr ? m_source->Read() : std::vector<BatteryHealthReading>{};
    DrawHealthGraph(*m_surface,
                    HealthViewInput(readings, ReadHealthDiary(m_diaryPath), now.DayNumber()));
}

// A view to glance at: Escape puts it away.
void HealthWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace amperlog
