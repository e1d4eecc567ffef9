#include "platform/qt/qt_tray_icon.h"

#include "platform/qt/login_start_action.h"
#include "platform/qt/qt_text.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <utility>

namespace amperlog {

QtTrayIcon::QtTrayIcon(QIcon icon, std::function<bool()> hostPresent)
    : m_picture(std::move(icon)), m_hostPresent(std::move(hostPresent)),
      m_icon(std::make_unique<QSystemTrayIcon>()), m_menu(std::make_unique<QMenu>()) {
    m_icon->setObjectName(QStringLiteral("trayIcon"));
    m_menu->setObjectName(QStringLiteral("mnuPopup"));
    m_exit = m_menu->addAction(QtText(TextId::MenuExit));
    m_exit->setObjectName(QStringLiteral("mnuPopupExit"));
    QObject::connect(m_exit, &QAction::triggered, m_menu.get(), [this] {
        if (m_onExit) {
            m_onExit();
        }
    });
    QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, m_icon.get(),
                     [this](QSystemTrayIcon::ActivationReason reason) { OnActivated(reason); });
}

QtTrayIcon::~QtTrayIcon() = default;

void QtTrayIcon::AddMenuEntry(const std::string& text, const char* objectName,
                              std::function<void()> handler) {
    auto* entry = new QAction(QString::fromStdString(text), m_menu.get());
    entry->setObjectName(QString::fromLatin1(objectName));
    m_menu->insertAction(m_exit, entry);
    QObject::connect(entry, &QAction::triggered, m_menu.get(), std::move(handler));
}

void QtTrayIcon::AddLoginStartEntry(LoginStart& login) {
    AddLoginStartAction(*m_menu, login, m_exit);
}

bool QtTrayIcon::Add(const std::string& tip) {
    // Without a host Qt would still call the icon visible, though nobody shows it.
    if (!m_hostPresent || !m_hostPresent()) {
        return false;
    }
    m_icon->setIcon(m_picture.isNull() ? QApplication::windowIcon() : m_picture);
    m_icon->setToolTip(QString::fromStdString(tip));
    m_icon->show();
    return true;
}

void QtTrayIcon::Remove() {
    m_menu->hide();
    m_icon->hide();
}

void QtTrayIcon::SetMessageHandler(std::function<void(std::int16_t)> handler) {
    m_onMessage = std::move(handler);
}

void QtTrayIcon::SetExitHandler(std::function<void()> handler) {
    m_onExit = std::move(handler);
}

void QtTrayIcon::ShowPopupMenu(const QPoint& at) {
    m_menu->popup(at);
}

std::int16_t QtTrayIcon::MessageFor(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return kTrayLeftButtonDown;
    case QSystemTrayIcon::Context:
        return kTrayRightButtonDown;
    case QSystemTrayIcon::DoubleClick:
        return kTrayLeftButtonDoubleClick;
    case QSystemTrayIcon::MiddleClick:
        return kTrayMiddleButtonDown;
    case QSystemTrayIcon::Unknown:
        break;
    }
    return 0;
}

void QtTrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason) {
    const std::int16_t message = MessageFor(reason);
    if (m_onMessage) {
        m_onMessage(message);
        return;
    }
    if (message == kTrayRightButtonDown) {
        ShowPopupMenu(QCursor::pos());
    }
}

} // namespace amperlog
