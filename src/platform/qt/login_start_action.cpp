#include "platform/qt/login_start_action.h"

#include "platform/login_start.h"
#include "platform/qt/qt_text.h"

#include <QAction>
#include <QMenu>

namespace amperlog {

QAction* AddLoginStartAction(QMenu& menu, LoginStart& login, QAction* before) {
    auto* action = new QAction(QtText(TextId::MenuStartAtLogin), &menu);
    action->setObjectName(QStringLiteral("mnuPopupLogin"));
    action->setCheckable(true);
    menu.insertAction(before, action);
    QObject::connect(&menu, &QMenu::aboutToShow, action,
                     [action, &login] { action->setChecked(login.IsOn()); });
    QObject::connect(action, &QAction::triggered, action, [action, &login](bool on) {
        login.Set(on);
        action->setChecked(login.IsOn());
    });
    return action;
}

} // namespace amperlog
