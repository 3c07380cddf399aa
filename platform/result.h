#pragma once

#include <QString>
#include <QStringList>
#include <utility>

#include "platform/basic_result.h"

namespace velandri {

// What failed, so that a window can choose its own words for it.
enum class FailureKind {
    // Reading a store file; the store is filled as far as it went.
    dataFileUnreadable,        // subjects: path, the system's reason
    dataFileTooLarge,          // path, MiB
    dataFileFieldsMissing,     // fields found, fields a save writes
    dataFileFieldsExtra,       // fields found
    dataFileSettingNotNumber,  // none
    dataFileLineShifted,       // digits a line starts with
    // Writing a store file.
    storeTooLarge,           // MiB
    dataFolderNotMade,       // folder
    dataFilePlaceTaken,      // path
    damagedFileNotKept,      // path, the name it would be kept as
    previousFileNotRemoved,  // path, the system's reason
    previousFileNotKept,     // path, the system's reason
    dataFileNotCreated,      // path, the system's reason
    dataFileNotWritten,      // path, the system's reason
    // HTTP, archives, signatures and the update built on them.
    transferFailed,
    archiveNotExtracted,
    signatureNotValid,
    releaseNotVerified,  // the archive is not the maker's release of the announced version
    versionNotFound,
    updateNotInstalled,
    // Input of the command-line tools.
    inputNotReadable,
};

// Why an operation failed: its kind, an English detail for the log, and the values the user's
// words for the kind name, in order.
struct Failure {
    Failure(FailureKind kind, QString detail, QStringList subjects = {})
        : kind(kind), detail(std::move(detail)), subjects(std::move(subjects)) {}

    FailureKind kind;
    QString detail;
    QStringList subjects;
};

// The outcome of an operation that can fail: its value, or the Failure. A Failure converts to
// any Result, so `return Failure{kind, detail};` fails whatever the value type.
template <typename T = void>
using Result = BasicResult<T, Failure>;

}  // namespace velandri
