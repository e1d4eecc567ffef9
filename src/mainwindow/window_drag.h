#pragma once

#include <QEvent>
#include <QPoint>

class QMouseEvent;
class QWidget;

namespace amperlog {

// Moving the frameless window by a drag zone: the window system's own move where it offers
// one, else the window follows the pointer until the left button is released.
class WindowDrag {
public:
    // A press anywhere in the window, at a point of the screen: whatever moved before is over
    // (the window system may have kept its release), and a move it starts holds that point
    // under the pointer.
    void Press(QPoint global);
    // Starts a move of the window unless one is under way.
    void Start(QWidget& window);
    // The release of the press that started a move; true when it was one, and so no click.
    bool EndWithRelease();
    // Moves the window with the pointer while a followed move lasts; true when the event
    // belonged to it.
    bool Follow(QWidget& window, const QMouseEvent& event, QEvent::Type type);

private:
    // A move started from a drag zone: its button release is no click.
    bool m_dragging = false;
    bool m_following = false;
    QPoint m_pressedAt;
    // The pressed point from the window's corner, for the followed move.
    QPoint m_offset;
};

} // namespace amperlog
