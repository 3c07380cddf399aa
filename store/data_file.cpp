#include "store/data_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "platform/log.h"
#include "store/store_file.h"
#include "store/store_line.h"

namespace velandri {

namespace {

// Anything at all holds the name, also a link that leads nowhere.
bool isTaken(const QString& name) {
    struct stat status {};
    return lstat(QFile::encodeName(name).constData(), &status) == 0;
}

QString unusedName(const QString& base) {
    QString name = base;
    for (int n = 2; isTaken(name); ++n) name = base + QStringLiteral("-%1").arg(n);
    return name;
}

// Copies an open file's content piece by piece, however large it is.
Result<> copyContent(QFile& source, QFile& copy) {
    constexpr qint64 kPiece = 1 << 16;
    const auto failed = [](const QFile& file) {
        return Failure{FailureKind::previousFileNotKept, file.errorString()};
    };
    for (QByteArray piece; !(piece = source.read(kPiece)).isEmpty();)
        if (copy.write(piece) != piece.size()) return failed(copy);
    if (source.error() != QFileDevice::NoError) return failed(source);
    if (!copy.flush()) return failed(copy);
    return {};
}

// Copies a file to a new owner-only one, removed again when that fails. The copy is always a
// new file: a name already taken, even by a link, fails. The failure's detail is the system's
// reason; the caller gives it its kind.
Result<> copyFile(const QString& from, const QString& to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return Failure{FailureKind::previousFileNotKept, source.errorString()};
    const int created =
        open(QFile::encodeName(to).constData(),
             O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (created < 0)
        return Failure{FailureKind::previousFileNotKept,
                       QString::fromLocal8Bit(std::strerror(errno))};
    QFile copy;
    Result<> copied = copy.open(created, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)
                          ? copyContent(source, copy)
                          : Failure{FailureKind::previousFileNotKept, copy.errorString()};
    copy.close();
    if (!copied) QFile::remove(to);
    return copied;
}

// Moves a file to a name nothing holds, then makes it owner-only as a copy would be.
bool moveToNew(const QString& from, const QString& to) {
    const QByteArray target = QFile::encodeName(to);
    return renameat2(AT_FDCWD, QFile::encodeName(from).constData(), AT_FDCWD, target.constData(),
                     RENAME_NOREPLACE) == 0 &&
           chmod(target.constData(), S_IRUSR | S_IWUSR) == 0;
}

// Keeps a file that could not be read whole beside it; moves it when it cannot be copied.
SaveOutcome setAside(const QString& path) {
    if (!QFileInfo::exists(path)) return {};
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString aside = unusedName(path + QStringLiteral(".damaged-") + stamp);
    if (copyFile(path, aside) || moveToNew(path, aside)) return {};
    return Failure{FailureKind::damagedFileNotKept,
                   QStringLiteral("cannot keep the damaged data file %1 as %2").arg(path, aside),
                   {path, aside}};
}

// A second name for the file's current content, which the atomic replacement leaves alone:
// no copy to read and write. Made owner-only as a copy would be, since a file of an earlier
// version may still be readable by others. False where the file system has no hard links.
bool linkPrevious(const QString& path, const QString& previous) {
    if (linkat(AT_FDCWD, QFile::encodeName(path).constData(), AT_FDCWD,
               QFile::encodeName(previous).constData(), AT_SYMLINK_FOLLOW) != 0)
        return false;
    if (QFile::setPermissions(previous, kOwnerOnly)) return true;
    QFile::remove(previous);
    return false;
}

// Keeps the file about to be replaced as <path>.prev.
SaveOutcome keepPrevious(const QString& path) {
    if (!QFileInfo(path).isFile()) return {};
    const QString previous = path + QStringLiteral(".prev");
    QFile old(previous);
    if (old.exists() && !old.remove())
        return Failure{FailureKind::previousFileNotRemoved,
                       QStringLiteral("cannot remove the previous data file %1: %2")
                           .arg(previous, old.errorString()),
                       {previous, old.errorString()}};
    if (linkPrevious(path, previous)) return {};
    if (const Result<> copied = copyFile(path, previous); !copied) {
        const QString& reason = copied.error().detail;
        return Failure{
            FailureKind::previousFileNotKept,
            QStringLiteral("cannot keep the previous data file %1: %2").arg(previous, reason),
            {previous, reason}};
    }
    return {};
}

// A file the program reads or replaces: a regular file, or a link to one. Anything else is the
// user's and is never opened (a FIFO would block the start) nor renamed (a folder).
bool isFoundFile(const QString& path) { return QFileInfo(path).isFile(); }

bool isOtherThanAFile(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isFile();
}

}  // namespace

bool makeDataFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (info.isDir()) return true;
    return QDir().mkpath(info.path()) &&
           (QDir().mkdir(folder, kOwnerOnly | QFileDevice::ExeOwner) || QFileInfo(folder).isDir());
}

DataFile::DataFile(DataPaths paths) : paths_(std::move(paths)) {}

QString DataFile::dataFilePath() const {
    return QDir(paths_.dataFolder).filePath(kDataFileName);
}

LoadedFile DataFile::loadStore(UrlStore& store) {
    damagedFile_.clear();
    const QDir program(paths_.programFolder);
    for (const QString& path : {dataFilePath(), program.filePath(kDataFileName),
                                program.filePath(QStringLiteral("url_bak"))}) {
        if (!isFoundFile(path)) continue;
        LoadedFile loaded = loadStoreFile(path, store);
        if (!loaded) {
            qCInfo(velandriLog).noquote() << loaded.error().detail;
            if (path == dataFilePath()) damagedFile_ = path;
        }
        return loaded;
    }
    store = emptyStore();
    return QString();
}

SaveOutcome DataFile::saveStore(UrlStore& store) {
    renumber(store);  // also when the file cannot be written
    SaveOutcome saved = replaceDataFile(store);
    if (!saved) qCInfo(velandriLog).noquote() << saved.error().detail;
    return saved;
}

SaveOutcome DataFile::replaceDataFile(UrlStore& store) {
    // Refused before anything on disk changes.
    const Result<QByteArray> content = storeFileContent(store);
    if (!content) return content.error();
    if (!makeDataFolder(paths_.dataFolder))
        return Failure{FailureKind::dataFolderNotMade,
                       QStringLiteral("cannot create the data folder %1").arg(paths_.dataFolder),
                       {paths_.dataFolder}};
    if (isOtherThanAFile(dataFilePath()))
        return Failure{FailureKind::dataFilePlaceTaken,
                       QStringLiteral("cannot save: %1 is not a file (a folder or the like)")
                           .arg(dataFilePath()),
                       {dataFilePath()}};
    // A damaged file is kept aside; the previous copy, which may still be whole, stays.
    SaveOutcome kept =
        damagedFile_.isEmpty() ? keepPrevious(dataFilePath()) : setAside(damagedFile_);
    if (!kept) return kept;
    damagedFile_.clear();
    return writeFileContent(dataFilePath(), content.value(), FileAccess::ownerOnly);
}

}  // namespace velandri
