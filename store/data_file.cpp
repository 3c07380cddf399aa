#include "store/data_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "store/store_file.h"
#include "store/store_line.h"

namespace {

SaveOutcome failure(const QString& reason) { return {false, reason}; }

QString unusedName(const QString& base) {
    QString name = base;
    for (int n = 2; QFileInfo::exists(name); ++n) name = base + QStringLiteral("-%1").arg(n);
    return name;
}

// Keeps a file that could not be read whole beside it; moves it when it cannot be copied.
SaveOutcome setAside(const QString& path) {
    if (!QFileInfo::exists(path)) return {true, {}};
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString aside = unusedName(path + QStringLiteral(".damaged-") + stamp);
    if (QFile::copy(path, aside) || QFile::rename(path, aside)) return {true, {}};
    return failure(QStringLiteral("読み込めなかったデータファイル %1 を %2 に退避できません")
                       .arg(path, aside));
}

// A second name for the file's current content, which the atomic replacement leaves alone:
// no copy to read and write. False where the file system has no hard links.
bool linkPrevious(const QString& path, const QString& previous) {
    return linkat(AT_FDCWD, QFile::encodeName(path).constData(), AT_FDCWD,
                  QFile::encodeName(previous).constData(), AT_SYMLINK_FOLLOW) == 0;
}

// Keeps the file about to be replaced as <path>.prev.
SaveOutcome keepPrevious(const QString& path) {
    if (!QFileInfo(path).isFile()) return {true, {}};
    const QString previous = path + QStringLiteral(".prev");
    QFile current(path);
    if (!current.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("データファイル %1 を読み込めません: %2")
                           .arg(path, current.errorString()));
    QFile copy(previous);
    if (copy.exists() && !copy.remove())
        return failure(QStringLiteral("前回のデータファイル %1 を削除できません: %2")
                           .arg(previous, copy.errorString()));
    if (linkPrevious(path, previous)) return {true, {}};
    const QByteArray bytes = current.readAll();
    if (!copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size() || !copy.flush())
        return failure(QStringLiteral("前回のデータファイル %1 を保存できません: %2")
                           .arg(previous, copy.errorString()));
    return {true, {}};
}

}  // namespace

DataFile::DataFile(DataPaths paths) : paths_(std::move(paths)) {}

QString DataFile::dataFilePath() const {
    return QDir(paths_.dataFolder).filePath(QStringLiteral("url"));
}

LoadOutcome DataFile::loadStore(UrlStore& store) {
    damagedFile_.clear();
    const QDir program(paths_.programFolder);
    for (const QString& path : {dataFilePath(), program.filePath(QStringLiteral("url")),
                                program.filePath(QStringLiteral("url_bak"))}) {
        if (!QFileInfo::exists(path)) continue;
        LoadOutcome outcome = loadStoreFile(path, store);
        if (outcome.damaged && path == dataFilePath()) damagedFile_ = path;
        return outcome;
    }
    store = emptyStore();
    return {};
}

SaveOutcome DataFile::saveStore(UrlStore& store) {
    renumber(store);  // also when the file cannot be written
    if (!QDir().mkpath(paths_.dataFolder))
        return failure(QStringLiteral("データフォルダ %1 を作成できません").arg(paths_.dataFolder));
    if (!damagedFile_.isEmpty()) {
        if (SaveOutcome aside = setAside(damagedFile_); !aside.ok) return aside;
        damagedFile_.clear();
    }
    if (SaveOutcome previous = keepPrevious(dataFilePath()); !previous.ok) return previous;
    return writeStoreFile(dataFilePath(), store);
}
