#pragma once

#include <QString>

#include "platform/paths.h"
#include "store/url_store.h"

struct LoadOutcome {
    QString file;          // the file that was read; empty when none exists
    bool damaged = false;  // a file was found but could not be read whole
    QString reason;        // why, when damaged
};

struct SaveOutcome {
    bool ok = false;
    QString reason;  // readable, for the user, when !ok
};

// The data file in the per-user folder with its read-only fallbacks in the program folder.
class DataFile {
public:
    explicit DataFile(DataPaths paths);

    // Fills the whole store from the first file found; the store meets every invariant after.
    LoadOutcome loadStore(UrlStore& store);
    // Rewrites every slot number, then replaces the data file atomically.
    SaveOutcome saveStore(UrlStore& store);

    QString dataFilePath() const;

private:
    DataPaths paths_;
    QString damagedFile_;  // copied aside before the first save replaces it
};
