#include "store/store_file.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>

#include "store/store_line.h"

namespace velandri {

namespace {

LoadOutcome notRead(const QString& path, const QString& reason, UrlStore& store) {
    store = emptyStore();
    return {path, Failure{reason}};
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

Result<QByteArray> storeFileContent(UrlStore& store) {
    QByteArray content = encodeLine(store);
    content += "\r\n";  // in place: the line plus its ending would be a second copy of the file
    if (content.size() > kMaxDataFileSize)
        return Failure{QStringLiteral("データが大きすぎます: データファイルが %1 MiB を超えるため、"
                                      "読み込めるファイルになりません")
                           .arg(kMaxDataFileSize >> 20)};
    return content;
}

SaveOutcome writeFileContent(const QString& path, const QByteArray& content, FileAccess access) {
    QSaveFile file(path);
    // The permissions go to the new file before its content does.
    if (!file.open(QIODevice::WriteOnly) ||
        (access == FileAccess::ownerOnly && !file.setPermissions(kOwnerOnly)))
        return Failure{
            QStringLiteral("データファイル %1 を作成できません: %2").arg(path, file.errorString())};
    if (file.write(content) != content.size() || !file.commit())
        return Failure{
            QStringLiteral("データファイル %1 を書き込めません: %2").arg(path, file.errorString())};
    return {};
}

SaveOutcome writeStoreFile(const QString& path, UrlStore& store, FileAccess access) {
    const Result<QByteArray> content = storeFileContent(store);
    if (!content) return content.error();
    return writeFileContent(path, content.value(), access);
}

}  // namespace velandri
