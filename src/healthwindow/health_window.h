#pragma once

#include "helpers/civil_time.h"

#include <QWidget>
#include <filesystem>

namespace amperlog {

class BatteryHealthSource;
class QtPictureSurface;

// The battery health view (frmHealth): the diary's health over its span, today's readings
// and the trend, on a picture in the main window's colours. Reads the batteries and the diary
// each time it is shown.
class HealthWindow final : public QWidget {
    Q_OBJECT
public:
    // source may be null: the view then shows the diary alone.
    HealthWindow(BatteryHealthSource* source, std::filesystem::path diaryPath,
                 QWidget* parent = nullptr);

    // Reads and draws again for the given day.
    void Refresh(CivilTime now);
    QtPictureSurface& Surface() { return *m_surface; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    BatteryHealthSource* m_source;
    std::filesystem::path m_diaryPath;
    QtPictureSurface* m_surface;
};

} // namespace amperlog
