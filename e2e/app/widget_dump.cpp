#include "widget_dump.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRect>
#include <QSaveFile>
#include <QStringList>
#include <QWidget>

namespace amperlog::e2e {
namespace {

QString Escaped(QString text) {
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    text.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return text;
}

QString TextOf(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* edit = qobject_cast<const QPlainTextEdit*>(widget)) {
        return edit->toPlainText();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    if (const auto* menu = qobject_cast<const QMenu*>(widget)) {
        QStringList captions;
        for (const QAction* action : menu->actions()) {
            captions << action->text();
        }
        return captions.join(QLatin1Char('|'));
    }
    return widget->isWindow() ? widget->windowTitle() : QString();
}

QString Flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

void AppendFields(QByteArray& out, const QStringList& fields) {
    out += fields.join(QLatin1Char('\t')).toUtf8();
    out += '\n';
}

void AppendLine(QByteArray& out, const QWidget* widget) {
    const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
    AppendFields(out, {widget->objectName(), QString::fromLatin1(widget->metaObject()->className()),
                       Flag(widget->isVisible()), Flag(widget->hasFocus()),
                       QString::number(origin.x()), QString::number(origin.y()),
                       QString::number(widget->width()), QString::number(widget->height()),
                       Escaped(TextOf(widget)), Escaped(widget->toolTip())});
}

// A menu's item where the menu shows it, with its check mark; after the menu's own line.
void AppendItemLines(QByteArray& out, const QMenu* menu) {
    for (QAction* action : menu->actions()) {
        const QRect place(menu->mapToGlobal(menu->actionGeometry(action).topLeft()),
                          menu->actionGeometry(action).size());
        AppendFields(out, {action->objectName(), QStringLiteral("QAction"),
                           Flag(menu->isVisible() && action->isVisible()), Flag(false),
                           QString::number(place.x()), QString::number(place.y()),
                           QString::number(place.width()), QString::number(place.height()),
                           Escaped(action->text()), Escaped(action->toolTip()),
                           action->isCheckable() ? Flag(action->isChecked()) : QString()});
    }
}

void AppendLines(QByteArray& out, const QWidget* widget) {
    AppendLine(out, widget);
    if (const auto* menu = qobject_cast<const QMenu*>(widget)) {
        AppendItemLines(out, menu);
    }
}

} // namespace

WidgetDump::WidgetDump(QString file, QObject* parent) : QObject(parent), m_file(std::move(file)) {
    Watch();
}

void WidgetDump::Write() const {
    QByteArray out;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        AppendLines(out, window);
        for (const QWidget* child : window->findChildren<QWidget*>()) {
            AppendLines(out, child);
        }
    }
    out += "end\n";
    QSaveFile file(m_file);
    if (!file.open(QIODevice::WriteOnly)) {
        return;
    }
    file.write(out);
    file.commit();
}

} // namespace amperlog::e2e
