#include "platform/linux/archive_zip.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <climits>
#include <memory>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace velandri {

namespace {

constexpr int kExtractFlags = ARCHIVE_EXTRACT_SECURE_NODOTDOT | ARCHIVE_EXTRACT_SECURE_SYMLINKS |
                              ARCHIVE_EXTRACT_SECURE_NOABSOLUTEPATHS;
constexpr size_t kReadBlockBytes = 64 * 1024;
// As many links in one resolution as Linux follows (MAXSYMLINKS) before it gives up.
constexpr int kMaxLinkHops = 40;

using ArchivePtr = std::unique_ptr<archive, int (*)(archive*)>;
using EntryPtr = std::unique_ptr<archive_entry, void (*)(archive_entry*)>;

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

// What the text alone gives away: a symbolic link is resolved from the entry's own folder, a
// hard link from the top. The links' real destinations are checked once they exist.
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

// The names of a path, without empty ones and ".".
std::vector<std::string> names(std::string_view path) {
    std::vector<std::string> found;
    while (!path.empty()) {
        const size_t end = std::min(path.find('/'), path.size());
        const std::string_view name = path.substr(0, end);
        if (!name.empty() && name != ".") found.emplace_back(name);
        path.remove_prefix(std::min(end + 1, path.size()));
    }
    return found;
}

std::string joined(const std::vector<std::string>& names) {
    std::string path;
    for (const std::string& name : names) path += '/' + name;
    return path.empty() ? "/" : path;
}

std::optional<std::string> linkText(const std::string& path) {
    std::string text(PATH_MAX, '\0');
    const ssize_t length = readlink(path.c_str(), text.data(), text.size());
    if (length < 0 || size_t(length) >= text.size()) return std::nullopt;
    text.resize(size_t(length));
    return text;
}

bool isWithin(const std::string& path, const std::string& folder) {
    return path == folder || path.starts_with(folder + '/');
}

bool isLink(const std::string& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

// One extraction into the working directory: the entries in the archive's order, the symbolic
// links at the end, then the check of where those links lead. Keeps what it writes, so that a
// run stopped at a limit can take it back.
class Extraction {
public:
    Extraction(archive* reader, archive* writer, const ExtractionLimits& limits)
        : reader_(reader), writer_(writer), limits_(limits) {}

    Result<> run() {
        archive_entry* entry = nullptr;
        for (;;) {
            const int result = archive_read_next_header(reader_, &entry);
            if (result == ARCHIVE_EOF) break;
            if (result < ARCHIVE_WARN) break;  // the rest of the archive cannot be read
            if (++entries_ > limits_.maxEntries)
                return Failure{
                    FailureKind::archiveNotExtracted,
                    QStringLiteral("the archive has more than %1 entries").arg(limits_.maxEntries)};
            if (const Result<> extracted = extractEntry(entry); !extracted) return extracted;
        }
        makeLinks();
        removeLinksLeadingOutside();
        return {};
    }

    // Everything this extraction made, the latest first, so that folders are empty by their turn.
    void removeWritten() {
        for (auto path = written_.rbegin(); path != written_.rend(); ++path) {
            struct stat status {};
            if (lstat(path->c_str(), &status) != 0) continue;
            if (S_ISDIR(status.st_mode))
                rmdir(path->c_str());  // left when something else is in it
            else
                unlink(path->c_str());
        }
    }

private:
    Result<> extractEntry(archive_entry* entry) {
        if (linksOutside(entry)) return {};
        if (archive_entry_filetype(entry) == AE_IFLNK) {
            // Made last: no entry may be written through it, and where it leads depends on
            // everything else being in place.
            links_.emplace_back(archive_entry_clone(entry), archive_entry_free);
            return {};
        }
        const qint64 size = archive_entry_size(entry);
        if (archive_entry_size_is_set(entry) && size > limits_.maxBytes - bytes_) return tooLarge();
        if (!writeHeader(entry)) return {};  // refused as unsafe
        Result<> copied;
        if (size > 0) copied = copyData();
        archive_write_finish_entry(writer_);
        return copied;
    }

    // Counts what is inflated, which bounds what is written: an entry may claim less than it
    // holds.
    Result<> copyData() {
        const void* block = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        for (;;) {
            const int result = archive_read_data_block(reader_, &block, &size, &offset);
            if (result == ARCHIVE_EOF || result < ARCHIVE_WARN) return {};  // a damaged entry
            if (qint64(size) > limits_.maxBytes - bytes_) return tooLarge();
            bytes_ += qint64(size);
            if (archive_write_data_block(writer_, block, size, offset) < ARCHIVE_WARN) return {};
        }
    }

    Failure tooLarge() const {
        return Failure{
            FailureKind::archiveNotExtracted,
            QStringLiteral("the archive inflates to more than %1 bytes").arg(limits_.maxBytes)};
    }

    // Makes the entry on disk and notes what that made: the folders missing above it, and the
    // entry itself unless it is a folder that is there already (libarchive replaces an existing
    // file by a new one). Nothing is noted for an entry libarchive refuses, which may name a
    // path through a link.
    bool writeHeader(archive_entry* entry) {
        const char* pathname = archive_entry_pathname(entry);
        if (pathname == nullptr) return false;
        const bool isFolder = archive_entry_filetype(entry) == AE_IFDIR;
        const std::vector<std::string> parts = names(pathname);
        std::vector<std::string> made;
        std::string path;
        for (size_t i = 0; i < parts.size(); ++i) {
            path += (i == 0 ? "" : "/") + parts[i];
            struct stat status {};
            const bool exists = lstat(path.c_str(), &status) == 0;
            if (!exists || (i + 1 == parts.size() && !(isFolder && S_ISDIR(status.st_mode))))
                made.push_back(path);
        }
        if (archive_write_header(writer_, entry) < ARCHIVE_WARN) return false;
        written_.insert(written_.end(), made.begin(), made.end());
        return true;
    }

    void makeLinks() {
        for (const EntryPtr& link : links_) {
            if (!writeHeader(link.get())) continue;  // refused: nothing of it is on disk
            archive_write_finish_entry(writer_);
            madeLinks_.emplace_back(archive_entry_pathname(link.get()));
        }
    }

    // A link removed can change where others lead, so the check runs until none goes.
    void removeLinksLeadingOutside() {
        char cwd[PATH_MAX];
        if (getcwd(cwd, sizeof cwd) == nullptr) return removeLinks();
        const std::string folder = cwd;
        for (bool removed = true; removed;) {
            removed = false;
            for (const std::string& link : madeLinks_) {
                const std::string path = folder + '/' + link;
                if (!isLink(path)) continue;
                const std::optional<std::string> destination = realDestination(path);
                if (destination && isWithin(*destination, folder)) continue;
                unlink(path.c_str());
                removed = true;
            }
        }
    }

    // Without knowing where the folder is, no link can be shown to stay inside it.
    void removeLinks() {
        for (const std::string& link : madeLinks_)
            if (isLink(link)) unlink(link.c_str());
    }

    archive* reader_;
    archive* writer_;
    const ExtractionLimits& limits_;
    qint64 bytes_ = 0;
    qint64 entries_ = 0;
    std::vector<std::string> written_;  // relative to the folder, in the order they were made
    std::vector<EntryPtr> links_;
    std::vector<std::string> madeLinks_;  // the links that libarchive made, relative
};

Result<ArchivePtr> openReader(const QString& archivePath) {
    ArchivePtr reader(archive_read_new(), archive_read_free);
    archive_read_support_format_zip(reader.get());
    if (archive_read_open_filename(reader.get(), QFile::encodeName(archivePath).constData(),
                                   kReadBlockBytes) != ARCHIVE_OK)
        return Failure{
            FailureKind::archiveNotExtracted,
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

std::optional<std::string> realDestination(const std::string& path) {
    // Names still to resolve, the next one last; the resolved ones from the root.
    std::vector<std::string> pending = names(path);
    std::reverse(pending.begin(), pending.end());
    std::vector<std::string> resolved;
    bool missing = false;  // from here on, nothing exists to follow
    for (int hops = 0; !pending.empty();) {
        const std::string name = std::move(pending.back());
        pending.pop_back();
        if (name == "..") {
            if (!resolved.empty()) resolved.pop_back();
            continue;
        }
        resolved.push_back(name);
        if (missing) continue;
        const std::string here = joined(resolved);
        struct stat status {};
        if (lstat(here.c_str(), &status) != 0) {
            missing = true;
            continue;
        }
        if (!S_ISLNK(status.st_mode)) continue;
        const std::optional<std::string> target = linkText(here);
        if (!target || ++hops > kMaxLinkHops) return std::nullopt;
        resolved.pop_back();
        if (target->starts_with('/')) resolved.clear();
        std::vector<std::string> targetNames = names(*target);
        pending.insert(pending.end(), targetNames.rbegin(), targetNames.rend());
    }
    return joined(resolved);
}

ArchiveZipExtractor::ArchiveZipExtractor(ExtractionLimits limits) : limits_(limits) {}

Result<> ArchiveZipExtractor::extract(const QString& archivePath, const QString& folder) {
    Result<ArchivePtr> opened = openReader(QFileInfo(archivePath).absoluteFilePath());
    if (!opened) return opened.error();
    const ArchivePtr reader = std::move(opened).value();
    const ArchivePtr writer = openWriter();
    const WorkingDirectory inFolder(folder);
    if (!inFolder.entered())
        return Failure{FailureKind::archiveNotExtracted,
                       QStringLiteral("cannot extract into the folder %1").arg(folder)};

    Extraction extraction(reader.get(), writer.get(), limits_);
    const Result<> extracted = extraction.run();
    if (extracted) return {};
    // libarchive sets folders' modes and times when it is closed; it must not find them gone.
    archive_write_close(writer.get());
    extraction.removeWritten();
    return Failure{FailureKind::archiveNotExtracted,
                   extracted.error().detail + QStringLiteral("; what was written is removed")};
}

}  // namespace velandri
