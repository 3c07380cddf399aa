#include "platform/running_copy.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velandri {

namespace {

// A folder only this user can enter: a real folder, owned by the user, closed to the rest.
bool isPrivateFolder(const QString& folder) {
    struct stat status {};
    return lstat(QFile::encodeName(folder).constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == geteuid() && (status.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

// Another user may have made the folder first, or an inherited $XDG_RUNTIME_DIR may name
// another user's folder: either is refused.
QString privateRuntimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && isPrivateFolder(runtime)) return runtime;
    const QString own = QFileInfo(QDir::tempPath()).absoluteFilePath() +
                        QStringLiteral("/velandri-runtime-%1").arg(geteuid());
    // An existing folder is judged like a new one.
    mkdir(QFile::encodeName(own).constData(), S_IRWXU);
    return isPrivateFolder(own) ? own : QString();
}

// A folder that does not exist yet (before the first save) cannot be resolved through links.
QString resolvedFolder(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(folder).absolutePath()) : canonical;
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

bool peerIsThisUser(qintptr socketDescriptor) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == geteuid();
}

}  // namespace velandri
