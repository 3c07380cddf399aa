#pragma once

#include <QString>

#include "platform/paths.h"
#include "platform/result.h"
#include "store/url_store.h"

namespace velandri {

// The file a load read, empty when none exists; or why it could not be read whole (the detail
// names the file). Either way the store is filled as far as the file went.
using LoadedFile = Result<QString>;

// A failure says why the data file was not replaced.
using SaveOutcome = Result<>;

// The data file's name, in the data folder and as a fallback in the program folder.
inline const QString kDataFileName = QStringLiteral("url");

// Creates the data folder for its owner only (it holds the password in a reversible form);
// missing folders above it as usual folders. True when the folder is there.
bool makeDataFolder(const QString& folder);

// The data file in the per-user folder with its read-only fallbacks in the program folder.
class DataFile {
public:
    explicit DataFile(DataPaths paths);

    // Fills the whole store from the first file found; the store meets every invariant after.
    LoadedFile loadStore(UrlStore& store);
    // Rewrites every slot number, then replaces the data file atomically.
    SaveOutcome saveStore(UrlStore& store);

    QString dataFilePath() const;

private:
    SaveOutcome replaceDataFile(UrlStore& store);

    DataPaths paths_;
    QString damagedFile_;  // copied aside before the first save replaces it
};

}  // namespace velandri
