#pragma once

#include "platform/desktop_notifier.h"

namespace amperlog {

// The notification area's balloon (a toast on newer systems), shown through an icon of our
// own that is added for it and taken away when the balloon goes. The icon's messages reach a
// message-only window, which the program's message loop dispatches. Without a notification
// area nothing shows and nothing fails.
// The balloon's NIIF_ flags: its picture, and whether the user's quiet time holds it back.
unsigned long BalloonInfoFlags(NotificationKind kind);

class BalloonDesktopNotifier final : public DesktopNotifier {
public:
    BalloonDesktopNotifier();
    ~BalloonDesktopNotifier() override;
    BalloonDesktopNotifier(const BalloonDesktopNotifier&) = delete;
    BalloonDesktopNotifier& operator=(const BalloonDesktopNotifier&) = delete;

    // A balloon replaces the one before it; Withdraw takes it away with its icon.
    void Notify(const std::string& title, const std::string& body, NotificationKind kind) override;
    void Withdraw() override;

    // Called from the window's procedure when the balloon has gone.
    void RemoveIcon();

private:
    // HWND and HICON, kept as pointers so that users of this header need no windows.h.
    void* m_window = nullptr;
    void* m_icon = nullptr;
    bool m_ownsIcon = false;
    bool m_added = false;
};

} // namespace amperlog
