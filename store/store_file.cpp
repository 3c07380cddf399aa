#include "store/store_file.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>

#include "store/store_line.h"

namespace velandri {

namespace {

LoadedFile notRead(Failure failure, UrlStore& store) {
    store = emptyStore();
    return failure;
}

Failure unreadable(const QString& path, const QString& reason) {
    return Failure{FailureKind::dataFileUnreadable,
                   QStringLiteral("cannot read the data file %1: %2").arg(path, reason),
                   {path, reason}};
}

// The file named ahead of the line's own detail, for the log.
Failure damagedLine(const QString& path, const Failure& damage) {
    return Failure{damage.kind,
                   QStringLiteral("the data file %1 is damaged: %2").arg(path, damage.detail),
                   damage.subjects};
}

Failure notCreated(const QString& path, const QString& reason) {
    return Failure{FailureKind::dataFileNotCreated,
                   QStringLiteral("cannot create the data file %1: %2").arg(path, reason),
                   {path, reason}};
}

Failure notWritten(const QString& path, const QString& reason) {
    return Failure{FailureKind::dataFileNotWritten,
                   QStringLiteral("cannot write the data file %1: %2").arg(path, reason),
                   {path, reason}};
}

}  // namespace

// Pieces read apart and joined would be a second copy of the file.
QByteArray readBounded(QFile& file, qint64 limit) {
    QByteArray bytes(std::min(file.size(), limit) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled <= limit) {
        if (filled == bytes.size()) bytes.resize(std::min(2 * bytes.size(), limit + 1));
        const qint64 got = file.read(bytes.data() + filled, bytes.size() - filled);
        if (got <= 0) break;
        filled += got;
    }
    bytes.truncate(filled);
    return bytes;
}

LoadedFile loadStoreFile(const QString& path, UrlStore& store) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return notRead(unreadable(path, file.errorString()), store);
    const QByteArray content = readBounded(file, kMaxDataFileSize);
    if (file.error() != QFileDevice::NoError)
        return notRead(unreadable(path, file.errorString()), store);
    if (content.size() > kMaxDataFileSize) {
        const QString mebibytes = QString::number(kMaxDataFileSize >> 20);
        return notRead(
            Failure{FailureKind::dataFileTooLarge,
                    QStringLiteral("the data file %1 is larger than %2 MiB").arg(path, mebibytes),
                    {path, mebibytes}},
            store);
    }
    const LineReadout readout = parseLine(content, store);
    if (!readout.whole) return damagedLine(path, readout.whole.error());
    return path;
}

Result<QByteArray> storeFileContent(UrlStore& store) {
    QByteArray content = encodeLine(store);
    content += "\r\n";  // in place: the line plus its ending would be a second copy of the file
    if (content.size() > kMaxDataFileSize)
        return Failure{FailureKind::storeTooLarge,
                       QStringLiteral("the data would make a file larger than %1 MiB, which no "
                                      "load reads")
                           .arg(kMaxDataFileSize >> 20),
                       {QString::number(kMaxDataFileSize >> 20)}};
    return content;
}

SaveOutcome writeFileContent(const QString& path, const QByteArray& content, FileAccess access) {
    QSaveFile file(path);
    // The permissions go to the new file before its content does.
    if (!file.open(QIODevice::WriteOnly) ||
        (access == FileAccess::ownerOnly && !file.setPermissions(kOwnerOnly)))
        return notCreated(path, file.errorString());
    if (file.write(content) != content.size() || !file.commit())
        return notWritten(path, file.errorString());
    return {};
}

SaveOutcome writeStoreFile(const QString& path, UrlStore& store, FileAccess access) {
    const Result<QByteArray> content = storeFileContent(store);
    if (!content) return content.error();
    return writeFileContent(path, content.value(), access);
}

}  // namespace velandri
