#include "platform/qt/dbus_desktop_notifier.h"

#include "platform/platform_factory.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

namespace amperlog {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

// The service's urgency levels: low, normal, critical.
constexpr uchar kUrgencyNormal = 1;
constexpr uchar kUrgencyCritical = 2;
// The service's own choice of how long a notification shows.
constexpr int kDefaultTimeout = -1;
constexpr int kImageSide = 64;

QDBusMessage Call(const QString& method) {
    return QDBusMessage::createMethodCall(kService, kPath, kService, method);
}

// The program's icon as the service's raw image (iiibiiay): a build or a portable copy has no
// icon in the theme for the name to find.
QVariant IconImage() {
    const QIcon icon = QGuiApplication::windowIcon();
    if (icon.isNull()) {
        return {};
    }
    const QImage image = icon.pixmap(QSize(kImageSide, kImageSide))
                             .toImage()
                             .convertToFormat(QImage::Format_RGBA8888);
    if (image.isNull()) {
        return {};
    }
    QDBusArgument argument;
    argument.beginStructure();
    argument << image.width() << image.height() << static_cast<int>(image.bytesPerLine()) << true
             << 8 << 4
             << QByteArray(reinterpret_cast<const char*>(image.constBits()),
                           static_cast<qsizetype>(image.sizeInBytes()));
    argument.endStructure();
    return QVariant::fromValue(argument);
}

} // namespace

DbusDesktopNotifier::DbusDesktopNotifier() : m_calls(std::make_unique<QObject>()) {}

DbusDesktopNotifier::~DbusDesktopNotifier() = default;

void DbusDesktopNotifier::Notify(const std::string& title, const std::string& body,
                                 NotificationKind kind) {
    if (m_awaitingId) {
        m_next = Request{title, body, kind};
        m_closeWhenAnswered = false;
        return;
    }
    Send({title, body, kind});
}

void DbusDesktopNotifier::Withdraw() {
    m_next.reset();
    if (m_awaitingId) {
        m_closeWhenAnswered = true;
        return;
    }
    Close();
}

void DbusDesktopNotifier::Send(const Request& request) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    if (!m_image.isValid()) {
        m_image = IconImage();
    }
    QDBusMessage call = Call(QStringLiteral("Notify"));
    const bool critical = request.kind == NotificationKind::Critical;
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"),
                 QVariant::fromValue(critical ? kUrgencyCritical : kUrgencyNormal));
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("amperlog"));
    if (m_image.isValid()) {
        hints.insert(QStringLiteral("image-data"), m_image);
    }
    call << QStringLiteral("Amperlog") << m_shownId << QStringLiteral("amperlog")
         << QString::fromStdString(request.title) << QString::fromStdString(request.body)
         << QStringList() << hints << kDefaultTimeout;
    m_awaitingId = true;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), m_calls.get());
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, m_calls.get(),
                     [this](QDBusPendingCallWatcher* answered) {
                         const QDBusPendingReply<uint> reply = *answered;
                         answered->deleteLater();
                         Answered(reply.isValid() ? std::optional<uint>(reply.value())
                                                  : std::nullopt);
                     });
}

void DbusDesktopNotifier::Answered(std::optional<uint> id) {
    m_awaitingId = false;
    // A service that failed the call shows nothing to replace.
    m_shownId = id.value_or(0);
    if (m_next) {
        const Request next = *m_next;
        m_next.reset();
        Send(next);
    } else if (m_closeWhenAnswered) {
        m_closeWhenAnswered = false;
        Close();
    }
}

void DbusDesktopNotifier::Close() {
    if (m_shownId == 0) {
        return;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        QDBusMessage call = Call(QStringLiteral("CloseNotification"));
        call << m_shownId;
        bus.send(call);
    }
    // A closed notification is gone: the next one starts afresh.
    m_shownId = 0;
}

std::unique_ptr<DesktopNotifier> CreateDesktopNotifier() {
    return std::make_unique<DbusDesktopNotifier>();
}

} // namespace amperlog
