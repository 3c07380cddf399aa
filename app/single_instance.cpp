#include "app/single_instance.h"

#include <QLocalSocket>

#include "platform/running_copy.h"

namespace velandri {

namespace {

constexpr int kConnectTimeoutMs = 1000;
const QByteArray kActivate = QByteArrayLiteral("activate\n");

}  // namespace

SingleInstance::SingleInstance(const QString& dataFolder, QObject* parent)
    : QObject(parent), socketPath_(runningCopySocketPath(dataFolder)) {
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::acceptActivation);
}

bool SingleInstance::claim() {
    // Without a private place for the name, run unguarded rather than not at all.
    if (socketPath_.isEmpty()) return true;
    if (askRunningCopyToActivate()) return false;
    // Nobody answered: a socket left by a copy that crashed must not lock us out.
    QLocalServer::removeServer(socketPath_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    return server_.listen(socketPath_);
}

bool SingleInstance::askRunningCopyToActivate() {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    // Only a copy of this user's is obeyed.
    if (!peerIsThisUser(socket.socketDescriptor())) return false;
    socket.write(kActivate);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::acceptActivation() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        if (socket->bytesAvailable() > 0) readRequest(socket);
    }
}

void SingleInstance::readRequest(QLocalSocket* socket) {
    if (socket->readAll().contains(kActivate)) emit activationRequested();
}

}  // namespace velandri
