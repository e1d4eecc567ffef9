#include "mainwindow/window_drag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace amperlog {

void WindowDrag::Start(QWidget& window) {
    if (m_dragging) {
        return;
    }
    m_dragging = true;
    QWindow* handle = window.windowHandle();
    if (handle != nullptr && handle->startSystemMove()) {
        return;
    }
    // The window system would not move it: follow the pointer until the button is released.
    m_following = true;
    m_offset = m_pressedAt - window.pos();
}

void WindowDrag::Press(QPoint global) {
    m_dragging = false;
    m_following = false;
    m_pressedAt = global;
}

bool WindowDrag::EndWithRelease() {
    const bool dragged = m_dragging;
    m_dragging = false;
    return dragged;
}

bool WindowDrag::Follow(QWidget& window, const QMouseEvent& event, QEvent::Type type) {
    if (!m_following) {
        return false;
    }
    if (type == QEvent::MouseMove && event.buttons().testFlag(Qt::LeftButton)) {
        window.move(event.globalPosition().toPoint() - m_offset);
        return true;
    }
    if (type == QEvent::MouseButtonRelease || !event.buttons().testFlag(Qt::LeftButton)) {
        m_following = false;
        m_dragging = false;
        return true;
    }
    return false;
}

} // namespace amperlog
