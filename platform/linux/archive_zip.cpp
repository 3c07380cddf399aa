#include "platform/linux/archive_zip.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>
#include <tuple>
#include <utility>

namespace velandri {

namespace {

constexpr int kExtractFlags = ARCHIVE_EXTRACT_SECURE_NODOTDOT | ARCHIVE_EXTRACT_SECURE_SYMLINKS |
                              ARCHIVE_EXTRACT_SECURE_NOABSOLUTEPATHS;
constexpr size_t kReadBlockBytes = 64 * 1024;

using ArchivePtr = std::unique_ptr<archive, int (*)(archive*)>;

// libarchive extracts relative to the working directory; this moves there for one extraction
// and back again.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const QString& folder)
        : previous_(open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        entered_ = previous_ >= 0 && chdir(QFile::encodeName(folder).constData()) == 0;
    }
    ~WorkingDirectory() {
        if (previous_ < 0) return;
        // Nothing sensible is left to do when the way back has gone.
        if (entered_) std::ignore = fchdir(previous_);
        close(previous_);
    }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;
    bool entered() const { return entered_; }

private:
    int previous_;
    bool entered_ = false;
};

bool leavesFolder(const QString& relativePath) {
    const QString clean = QDir::cleanPath(relativePath);
    return QDir::isAbsolutePath(relativePath) || clean == QLatin1String("..") ||
           clean.startsWith(QLatin1String("../"));
}

// A symbolic link is resolved from the entry's own folder, a hard link from the top.
bool linksOutside(archive_entry* entry) {
    if (const char* target = archive_entry_symlink(entry)) {
        const QString targetPath = QFile::decodeName(target);
        if (QDir::isAbsolutePath(targetPath)) return true;
        const QString folder = QFileInfo(QFile::decodeName(archive_entry_pathname(entry))).path();
        return leavesFolder(folder + QLatin1Char('/') + targetPath);
    }
    if (const char* target = archive_entry_hardlink(entry))
        return leavesFolder(QFile::decodeName(target));
    return false;
}

bool copyData(archive* reader, archive* writer) {
    const void* block = nullptr;
    size_t size = 0;
    la_int64_t offset = 0;
    for (;;) {
        const int result = archive_read_data_block(reader, &block, &size, &offset);
        if (result == ARCHIVE_EOF) return true;
        if (result < ARCHIVE_WARN) return false;
        if (archive_write_data_block(writer, block, size, offset) < ARCHIVE_WARN) return false;
    }
}

void extractEntry(archive* reader, archive* writer, archive_entry* entry) {
    if (linksOutside(entry)) return;
    if (archive_write_header(writer, entry) < ARCHIVE_WARN) return;  // refused as unsafe
    if (archive_entry_size(entry) > 0) copyData(reader, writer);
    archive_write_finish_entry(writer);
}

Result<ArchivePtr> openReader(const QString& archivePath) {
    ArchivePtr reader(archive_read_new(), archive_read_free);
    archive_read_support_format_zip(reader.get());
    if (archive_read_open_filename(reader.get(), QFile::encodeName(archivePath).constData(),
                                   kReadBlockBytes) != ARCHIVE_OK)
        return Failure{
            QStringLiteral("cannot read the archive %1: %2")
                .arg(archivePath, QString::fromUtf8(archive_error_string(reader.get())))};
    return reader;
}

ArchivePtr openWriter() {
    ArchivePtr writer(archive_write_disk_new(), archive_write_free);
    archive_write_disk_set_options(writer.get(), kExtractFlags);
    archive_write_disk_set_standard_lookup(writer.get());
    return writer;
}

}  // namespace

Result<> ArchiveZipExtractor::extract(const QString& archivePath, const QString& folder) {
    Result<ArchivePtr> opened = openReader(QFileInfo(archivePath).absoluteFilePath());
    if (!opened) return opened.error();
    const ArchivePtr reader = std::move(opened).value();
    const ArchivePtr writer = openWriter();
    const WorkingDirectory inFolder(folder);
    if (!inFolder.entered())
        return Failure{QStringLiteral("cannot extract into the folder %1").arg(folder)};

    archive_entry* entry = nullptr;
    for (;;) {
        const int result = archive_read_next_header(reader.get(), &entry);
        if (result == ARCHIVE_EOF) break;
        if (result < ARCHIVE_WARN) break;  // the rest of the archive cannot be read
        extractEntry(reader.get(), writer.get(), entry);
    }
    return {};
}

}  // namespace velandri
