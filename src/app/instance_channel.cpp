#include "app/instance_channel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

namespace amperlog {
namespace {

constexpr int kAnswerWaitMs = 300;
constexpr char kShowRequest[] = "show\n";
// Longer than any request: a peer that sends more without a line end is cut off.
constexpr qint64 kMaxRequest = 64;

} // namespace

QString InstanceChannelName(const QString& canonicalFolder, const QString& user) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(canonicalFolder.toUtf8());
    hash.addData(QByteArrayView("\0", 1));
    hash.addData(user.toUtf8());
    return QStringLiteral("amperlog-") + QString::fromLatin1(hash.result().toHex().left(24));
}

QString InstanceChannelName(const std::filesystem::path& programFolder) {
    const QFileInfo info(QString::fromStdString(programFolder.string()));
    QString folder = info.canonicalFilePath();
    if (folder.isEmpty()) {
        folder = QDir::cleanPath(info.absoluteFilePath());
    }
    // The home folder stands for the user: it differs between users on every platform.
    return InstanceChannelName(folder, QDir::homePath());
}

bool AskToShow(const QString& name) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kAnswerWaitMs)) {
        return false;
    }
    socket.write(kShowRequest);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(kAnswerWaitMs)) {
            return false;
        }
    }
    socket.disconnectFromServer();
    return true;
}

InstanceChannel::InstanceChannel(std::function<void()> onShow) : m_onShow(std::move(onShow)) {
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(&m_server, &QLocalServer::newConnection, &m_server, [this] { Accept(); });
}

bool InstanceChannel::Listen(const QString& name) {
    // Only the copy holding the program folder's lock listens, so whatever answers to this
    // name is left over from a copy that did not end.
    QLocalServer::removeServer(name);
    return m_server.listen(name);
}

void InstanceChannel::Close() {
    m_server.close();
}

void InstanceChannel::Accept() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto read = [this, socket] {
            if (socket->canReadLine()) {
                const QByteArray line = socket->readLine(kMaxRequest);
                socket->disconnectFromServer();
                if (line == kShowRequest && m_onShow) {
                    m_onShow();
                }
            } else if (socket->bytesAvailable() > kMaxRequest) {
                socket->abort();
            }
        };
        QObject::connect(socket, &QLocalSocket::readyRead, socket, read);
        read();
    }
}

} // namespace amperlog
