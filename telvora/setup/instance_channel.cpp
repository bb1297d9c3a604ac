#include "telvora/setup/instance_channel.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>

namespace telvora {
namespace {

constexpr char kRaiseRequest[] = "raise\n";
constexpr char kRaiseAnswer[] = "ok\n";

}  // namespace

InstanceChannel::InstanceChannel(QObject* parent)
    : QObject(parent), m_server(new QLocalServer(this)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::answer);
}

InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::listen(const QString& path) {
    if (m_server->listen(path)) {
        return true;
    }
    QLocalServer::removeServer(path);
    return m_server->listen(path);
}

void InstanceChannel::answer() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                return;
            }
            if (socket->readLine() == kRaiseRequest) {
                emit raiseRequested();
                socket->write(kRaiseAnswer);
                socket->flush();
            }
            socket->disconnectFromServer();
        });
    }
}

bool InstanceChannel::AskToRaise(const QString& path, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
        return false;
    }
    socket.write(kRaiseRequest);
    if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
        return false;
    }
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() ||
            !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            return false;
        }
    }
    return socket.readLine() == kRaiseAnswer;
}

QString InstanceChannel::PathForLock(const QString& lockPath) {
    QString path = lockPath;
    if (path.endsWith(QLatin1String(".lock"))) {
        path.chop(5);
    }
    return path + QStringLiteral(".socket");
}

}  // namespace telvora
