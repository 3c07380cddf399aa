#pragma once

#include <QFile>
#include <QFileDevice>
#include <QString>

#include "store/data_file.h"
#include "store/url_store.h"

namespace velandri {

// One store file at a given path, without the choice among the data file and its fallbacks.

// The largest file read, nearly four times the largest a save writes in practice (4.45 MB: all
// 300 addresses 2,083 Japanese characters long, Internet Explorer's limit, 100-character tab
// names, every box full). A larger file is damaged and is not parsed.
inline constexpr qint64 kMaxDataFileSize = 16 * 1024 * 1024;

// An open file's bytes up to one beyond the limit, so that a larger file is seen without being
// held; read into one buffer that grows as it fills, as a pipe or a device may have no size.
QByteArray readBounded(QFile& file, qint64 limit);

// Replaces the store with the file's content. A missing or unreadable file gives the empty
// store completed to its invariants and a failure (the caller decides whether to look first).
LoadedFile loadStoreFile(const QString& path, UrlStore& store);

// Readable by its owner only: the data file and its copies hold the password in a reversible form.
inline constexpr QFileDevice::Permissions kOwnerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Who may read a written file: its owner only, or (for files shipped with the program) whoever
// the umask lets read a new file and the old permissions an existing one.
enum class FileAccess { ownerOnly, usual };

// Renumbers the store and gives the file's content: its line and CR LF. Refused when the file
// would be larger than a load reads (kMaxDataFileSize): it would be written, then set aside as
// damaged.
Result<QByteArray> storeFileContent(UrlStore& store);

// Replaces the file atomically with the content; the old file stays whole when this fails.
SaveOutcome writeFileContent(const QString& path, const QByteArray& content,
                             FileAccess access = FileAccess::usual);

// Both of the above.
SaveOutcome writeStoreFile(const QString& path, UrlStore& store,
                           FileAccess access = FileAccess::usual);

}  // namespace velandri
