#pragma once

class QAction;
class QMenu;

namespace amperlog {

class LoginStart;

// The checkable "Start at login" item (mnuPopupLogin) of a pop-up menu, put before `before`
// (at the end when null). Its check mark is read from the system each time the menu opens,
// and after each change, so it never shows what the system did not take.
QAction* AddLoginStartAction(QMenu& menu, LoginStart& login, QAction* before = nullptr);

} // namespace amperlog
