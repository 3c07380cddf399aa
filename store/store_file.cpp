#include "store/store_file.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>

#include "store/store_line.h"

namespace velandri {

namespace {

constexpr qint64 kReadPiece = 1 << 16;

LoadOutcome notRead(const QString& path, const QString& reason, UrlStore& store) {
    store = emptyStore();
    return {path, Failure{reason}};
}

}  // namespace

QByteArray readBounded(QFile& file, qint64 limit) {
    QByteArray bytes;
    bytes.reserve(std::min(file.size(), limit) + 1);
    while (bytes.size() <= limit) {
        const QByteArray piece = file.read(std::min(kReadPiece, limit + 1 - bytes.size()));
        if (piece.isEmpty()) break;
        bytes += piece;
    }
    return bytes;
}

LoadOutcome loadStoreFile(const QString& path, UrlStore& store) {
    QFile file(path);
    const QString unreadable = QStringLiteral("データファイル %1 を読み込めません: %2");
    if (!file.open(QIODevice::ReadOnly))
        return notRead(path, unreadable.arg(path, file.errorString()), store);
    const QByteArray content = readBounded(file, kMaxDataFileSize);
    if (file.error() != QFileDevice::NoError)
        return notRead(path, unreadable.arg(path, file.errorString()), store);
    if (content.size() > kMaxDataFileSize)
        return notRead(path,
                       QStringLiteral("データファイル %1 が大きすぎます（%2 MiB を超えています）")
                           .arg(path)
                           .arg(kMaxDataFileSize >> 20),
                       store);
    const LineReadout readout = parseLine(content, store);
    if (!readout.damage.isEmpty()) return {path, Failure{readout.damage}};
    return {path, {}};
}

SaveOutcome writeStoreFile(const QString& path, UrlStore& store, FileAccess access) {
    const QByteArray line = encodeLine(store) + "\r\n";
    QSaveFile file(path);
    // The permissions go to the new file before its content does.
    if (!file.open(QIODevice::WriteOnly) ||
        (access == FileAccess::ownerOnly && !file.setPermissions(kOwnerOnly)))
        return Failure{
            QStringLiteral("データファイル %1 を作成できません: %2").arg(path, file.errorString())};
    if (file.write(line) != line.size() || !file.commit())
        return Failure{
            QStringLiteral("データファイル %1 を書き込めません: %2").arg(path, file.errorString())};
    return {};
}

}  // namespace velandri
