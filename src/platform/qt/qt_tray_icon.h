#pragma once

#include "platform/tray_icon.h"

#include <QIcon>
#include <QPoint>
#include <QSystemTrayIcon>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QMenu;

namespace amperlog {

class LoginStart;

// The notification icon through QSystemTrayIcon. Presses on it arrive as the mouse message
// numbers of the stay logic (513 left button, 516 right button, others for double and middle
// clicks); its pop-up menu mnuPopup holds the one item Exit (mnuPopupExit).
class QtTrayIcon final : public TrayIcon {
public:
    // A null icon takes the application's window icon at every Add. hostPresent tells
    // whether the desktop has a notification area now.
    explicit QtTrayIcon(QIcon icon = {}, std::function<bool()> hostPresent =
                                             &QSystemTrayIcon::isSystemTrayAvailable);
    ~QtTrayIcon() override;
    QtTrayIcon(const QtTrayIcon&) = delete;
    QtTrayIcon& operator=(const QtTrayIcon&) = delete;

    bool Add(const std::string& tip) override;
    // Hides the icon; nothing happens when it was never added.
    void Remove() override;

    // Gets every mouse message of the icon. Without one the icon decides itself: the right
    // button opens the menu at the pointer.
    void SetMessageHandler(std::function<void(std::int16_t)> handler);
    // Runs when "Exit" is chosen.
    void SetExitHandler(std::function<void()> handler);
    // An entry of the program's own, above "Exit".
    void AddMenuEntry(const std::string& text, const char* objectName,
                      std::function<void()> handler);
    // The "Start at login" item with its check mark, above "Exit"; login outlives the icon.
    void AddLoginStartEntry(LoginStart& login);

    void ShowPopupMenu(const QPoint& at);

    QSystemTrayIcon& Icon() { return *m_icon; }
    QMenu& PopupMenu() { return *m_menu; }

    static std::int16_t MessageFor(QSystemTrayIcon::ActivationReason reason);

private:
    void OnActivated(QSystemTrayIcon::ActivationReason reason);

    QIcon m_picture;
    std::function<bool()> m_hostPresent;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    std::unique_ptr<QMenu> m_menu;
    QAction* m_exit = nullptr; // owned by m_menu
    std::function<void(std::int16_t)> m_onMessage;
    std::function<void()> m_onExit;
};

} // namespace amperlog
