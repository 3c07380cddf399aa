#include "platform/running_copy.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace {

// A folder that does not exist yet (before the first save) cannot be resolved through links.
QString resolvedFolder(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(folder).absolutePath()) : canonical;
}

}  // namespace

QString runningCopyName(const QString& dataFolder) {
    const QByteArray digest =
        QCryptographicHash::hash(resolvedFolder(dataFolder).toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    return QStringLiteral("velandri-%1-%2").arg(getuid()).arg(QString::fromLatin1(digest));
}
