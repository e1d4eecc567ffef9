#pragma once

#include "interface_language_scope.h"

#include <QAction>
#include <QLabel>
#include <QStringList>
#include <QWidget>

namespace amperlog::test {

// Every text a window shows a user: its title, the captions and tooltips of the widgets in
// it and the items of its menus, each with the object's name in front.
inline QStringList ShownTexts(const QWidget& window) {
    QStringList texts{QStringLiteral("title: ") + window.windowTitle()};
    QList<const QWidget*> widgets{&window};
    for (const QWidget* child : window.findChildren<QWidget*>()) {
        widgets.append(child);
    }
    for (const QWidget* widget : widgets) {
        const QString name = widget->objectName() + QStringLiteral(": ");
        texts << name + widget->toolTip();
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            texts << name + label->text();
        }
    }
    for (const QAction* action : window.findChildren<QAction*>()) {
        texts << action->objectName() + QStringLiteral(": ") + action->text();
    }
    return texts;
}

// The texts that hold kana, kanji or full-width forms.
inline QStringList JapaneseIn(const QStringList& texts) {
    QStringList found;
    for (const QString& text : texts) {
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            if ((u >= 0x3040 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) ||
                (u >= 0xFF00 && u <= 0xFFEF)) {
                found << text;
                break;
            }
        }
    }
    return found;
}

} // namespace amperlog::test
