#pragma once

// How the main window's widgets are coloured and captioned, shared by building and rendering.
#include "helpers/rgb.h"

#include <QColor>
#include <QIcon>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <string>

namespace amperlog {

inline QColor ToQColor(Rgb color) {
    return {color.r, color.g, color.b};
}

inline void SetBackground(QWidget* widget, Rgb color) {
    QPalette palette = widget->palette();
    if (palette.color(QPalette::Window) == ToQColor(color) && widget->autoFillBackground()) {
        return;
    }
    palette.setColor(QPalette::Window, ToQColor(color));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

inline void SetTextColor(QWidget* widget, Rgb color) {
    QPalette palette = widget->palette();
    if (palette.color(QPalette::WindowText) == ToQColor(color)) {
        return;
    }
    palette.setColor(QPalette::WindowText, ToQColor(color));
    widget->setPalette(palette);
}

inline void SetCaption(QLabel* label, const std::string& text) {
    const QString caption = QString::fromStdString(text);
    if (label->text() != caption) {
        label->setText(caption);
    }
}

// The window's picture of that name from the compiled-in icons, at size device-independent
// pixels; transparent where the picture cannot be read. Drawn from the SVG where QtSvg is
// there (pictures_svg.cpp), else from PNGs rendered at build time (pictures_png.cpp).
QPixmap RenderIcon(const char* name, QSize size, qreal ratio);

// The program's icon, for its windows and the notification area.
QIcon ProgramIcon();

} // namespace amperlog
