#include "platform/running_copy.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/linux/local_socket_address.h"
#include "platform/log.h"

namespace velandri {

namespace {

// A folder only this user can enter: a real folder, owned by the user, closed to the rest.
bool isPrivateFolder(const QString& folder) {
    struct stat status {};
    return lstat(QFile::encodeName(folder).constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == geteuid() && (status.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

// A folder of this user's own for the socket, made for the owner alone when missing.
QString ownFolder(const QString& folder) {
    // An existing folder is judged like a new one.
    mkdir(QFile::encodeName(folder).constData(), S_IRWXU);
    return isPrivateFolder(folder) ? folder : QString();
}

// Without $XDG_RUNTIME_DIR, a folder in the user's own cache folder. Never one in the shared
// temporary folder: another user can make the name first, or remove it between two starts, and
// so keep the copies from finding each other.
QString cacheRuntimeFolder() {
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!QDir::isAbsolutePath(cache)) cache = QDir::homePath() + QStringLiteral("/.cache");
    if (!QDir::isAbsolutePath(cache) || !QDir().mkpath(cache)) return {};
    return ownFolder(cache + QStringLiteral("/velandri-runtime"));
}

// An inherited $XDG_RUNTIME_DIR may name another user's folder: it is refused, as is any folder
// not ours and private.
QString privateRuntimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && isPrivateFolder(runtime)) return runtime;
    const QString own = cacheRuntimeFolder();
    if (own.isEmpty())
        qCInfo(velandriLog) << "no private runtime folder: neither $XDG_RUNTIME_DIR nor a folder "
                               "of the user's own in the cache folder; running without the "
                               "guard against a second copy";
    return own;
}

// A folder that does not exist yet (before the first save) cannot be resolved through links.
QString resolvedFolder(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(folder).absolutePath()) : canonical;
}

const QByteArray kActivate = QByteArrayLiteral("activate\n");
// Anything longer than the request is not a copy of this program talking.
constexpr qsizetype kLongestRequest = 64;

// Nothing when the path is too long for a local socket's address.
std::optional<sockaddr_un> socketAddress(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    return localSocketAddress(std::string_view(name.constData(), size_t(name.size())));
}

// Whether the process at the other end of a connected local socket runs as this user.
bool peerIsThisUser(int connection) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == geteuid();
}

int localSocket() { return socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0); }

// A connection to this user's copy at path, or -1. A copy that cannot take the connection at
// once is not answering.
int connectToOwnCopy(const QString& path) {
    const std::optional<sockaddr_un> address = socketAddress(path);
    if (!address) return -1;
    const int connection = localSocket();
    if (connection < 0) return -1;
    if (connect(connection, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
        !peerIsThisUser(connection)) {
        close(connection);
        return -1;
    }
    return connection;
}

}  // namespace

QString runningCopySocketPath(const QString& dataFolder) {
    const QString folder = privateRuntimeFolder();
    if (folder.isEmpty()) return {};
    const QByteArray digest =
        QCryptographicHash::hash(resolvedFolder(dataFolder).toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    return folder + QStringLiteral("/velandri-") + QString::fromLatin1(digest);
}

bool runningCopyAnswers(const QString& socketPath) {
    const int connection = connectToOwnCopy(socketPath);
    if (connection < 0) return false;
    close(connection);
    return true;
}

SingleInstance::SingleInstance(const QString& dataFolder, QObject* parent)
    : QObject(parent), socketPath_(runningCopySocketPath(dataFolder)) {}

// The notifiers go before the sockets they watch; the name goes with the listener.
SingleInstance::~SingleInstance() {
    qDeleteAll(findChildren<QSocketNotifier*>(Qt::FindDirectChildrenOnly));
    for (const auto& [connection, request] : requests_) close(connection);
    if (listener_ < 0) return;
    close(listener_);
    unlink(QFile::encodeName(socketPath_).constData());
}

bool SingleInstance::claim() {
    if (socketPath_.isEmpty()) return true;
    if (askRunningCopyToActivate()) return false;
    if (!listen())
        qCInfo(velandriLog) << "running without the guard against a second copy:" << socketPath_
                            << "cannot be listened at:" << std::strerror(errno);
    return true;
}

bool SingleInstance::askRunningCopyToActivate() {
    const int connection = connectToOwnCopy(socketPath_);
    if (connection < 0) return false;
    const ssize_t sent = send(connection, kActivate.constData(), size_t(kActivate.size()),
                              MSG_NOSIGNAL);
    close(connection);
    return sent == kActivate.size();
}

bool SingleInstance::listen() {
    const std::optional<sockaddr_un> address = socketAddress(socketPath_);
    if (!address) {
        errno = ENAMETOOLONG;
        return false;
    }
    const QByteArray name = QFile::encodeName(socketPath_);
    // Nobody answered: a socket left by a copy that crashed must not lock us out.
    unlink(name.constData());
    listener_ = localSocket();
    if (listener_ < 0) return false;
    if (bind(listener_, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
        chmod(name.constData(), S_IRWXU) != 0 || ::listen(listener_, SOMAXCONN) != 0) {
        close(listener_);
        listener_ = -1;
        return false;
    }
    auto* notifier = new QSocketNotifier(listener_, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &SingleInstance::acceptConnections);
    return true;
}

void SingleInstance::acceptConnections() {
    for (int connection; (connection = accept4(listener_, nullptr, nullptr,
                                               SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0;) {
        requests_[connection];
        auto* notifier = new QSocketNotifier(connection, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this,
                [this, connection, notifier] { readRequest(connection, notifier); });
    }
}

// A connection is done when it has asked, ended, or sent more than a request.
void SingleInstance::readRequest(int connection, QSocketNotifier* notifier) {
    char received[kLongestRequest];
    const ssize_t size = recv(connection, received, sizeof received, 0);
    if (size < 0 && (errno == EAGAIN || errno == EINTR)) return;
    QByteArray& request = requests_[connection];
    if (size > 0) request.append(received, size);
    const bool asked = request.contains(kActivate);
    if (size > 0 && !asked && request.size() < kLongestRequest) return;
    requests_.erase(connection);
    notifier->setEnabled(false);
    notifier->deleteLater();
    close(connection);
    if (asked) emit activationRequested();
}

}  // namespace velandri
