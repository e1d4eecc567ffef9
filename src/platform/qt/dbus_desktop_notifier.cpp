#include "platform/qt/dbus_desktop_notifier.h"

#include "platform/platform_factory.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace amperlog {
namespace {

// The service's urgency levels: low, normal, critical.
constexpr uchar kUrgencyNormal = 1;
constexpr uchar kUrgencyCritical = 2;
// The service's own choice of how long a notification shows.
constexpr int kDefaultTimeout = -1;

} // namespace

void DbusDesktopNotifier::Notify(const std::string& title, const std::string& body, bool critical) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"),
                 QVariant::fromValue(critical ? kUrgencyCritical : kUrgencyNormal));
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("amperlog"));
    call << QStringLiteral("Amperlog") << uint{0} << QStringLiteral("amperlog")
         << QString::fromStdString(title) << QString::fromStdString(body) << QStringList() << hints
         << kDefaultTimeout;
    bus.send(call);
}

std::unique_ptr<DesktopNotifier> CreateDesktopNotifier() {
    return std::make_unique<DbusDesktopNotifier>();
}

} // namespace amperlog
