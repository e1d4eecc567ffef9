#include "mainwindow/input_mapping.h"
#include "mainwindow/main_window.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace amperlog {

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (IsHealthKey(event->key(), ShiftMask(event->modifiers())) && m_healthOpener) {
        m_healthOpener();
        return;
    }
    const int code = KeyCode(event->key());
    if (code == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    m_actions.KeyDown(code, ShiftMask(event->modifiers()));
    Render();
}

// The window's own presses and releases are those on its background, a drag zone; the
// controls' come through the event filter.
void MainWindow::mousePressEvent(QMouseEvent* event) {
    m_drag.Press(event->globalPosition().toPoint());
    m_pressed = this;
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
    m_drag.Follow(*this, *event, QEvent::MouseButtonRelease);
    m_drag.EndWithRelease();
    m_pressed = nullptr;
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    if (m_drag.Follow(*this, *event, QEvent::MouseMove)) {
        return;
    }
    m_actions.DragZoneMove(DragZone::Background, ToTwips(event->position().y()),
                           ButtonMask(event->buttons()));
    Render();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
        type == QEvent::MouseMove || type == QEvent::MouseButtonDblClick) {
        if (HandleMouse(watched, static_cast<QMouseEvent*>(event), type)) {
            Render();
        }
        // The control had the event: it does not reach the panel under it.
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool MainWindow::HandleMouse(QObject* watched, QMouseEvent* event, QEvent::Type type) {
    const ControlHandlers* handlers = FindControlHandlers(watched->objectName().toStdString());

    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        m_drag.Press(event->globalPosition().toPoint());
        m_pressed = watched;
        if (handlers == nullptr || handlers->press == nullptr) {
            return false;
        }
        handlers->press(m_actions, ButtonCode(event->button()));
        return true;
    }

    if (m_drag.Follow(*this, *event, type)) {
        return false;
    }

    if (type == QEvent::MouseButtonRelease) {
        const bool wasPressed = m_pressed == watched;
        m_pressed = nullptr;
        if (m_drag.EndWithRelease()) {
            // The press moved the window; its release is no click.
            return false;
        }
        const auto* widget = static_cast<QWidget*>(watched);
        const bool inside = widget->rect().contains(event->position().toPoint());
        if (!wasPressed || !inside || event->button() != Qt::LeftButton) {
            return false;
        }
        if (handlers == nullptr || handlers->click == nullptr) {
            return false;
        }
        handlers->click(m_actions);
        return true;
    }

    if (handlers == nullptr || handlers->move == nullptr) {
        return false;
    }
    handlers->move(m_actions, ToTwips(event->position().x()), ToTwips(event->position().y()),
                   ButtonMask(event->buttons()));
    return true;
}

} // namespace amperlog
