#include "widget_dump.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRect>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QStringList>
#include <QWidget>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace amperlog::e2e {
namespace {

// The signal handler may only write to a descriptor; the event loop reads the other end.
int g_signalPipe[2] = {-1, -1};

void OnUsr1(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signalPipe[0], &byte, 1);
}

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
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) {
        return;
    }
    m_notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { OnSignal(); });
    struct sigaction action {};
    action.sa_handler = OnUsr1;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGUSR1, &action, nullptr);
}

WidgetDump::~WidgetDump() {
    std::signal(SIGUSR1, SIG_IGN);
}

void WidgetDump::OnSignal() {
    char byte = 0;
    [[maybe_unused]] const auto got = ::read(g_signalPipe[1], &byte, 1);
    Write();
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
