#pragma once

#include <QString>
#include <QtGlobal>

#include "platform/result.h"

namespace velandri {

// How much one extraction may do: a small archive can inflate to far more than any update.
struct ExtractionLimits {
    qint64 maxBytes = qint64(512) * 1024 * 1024;  // inflated, in all entries together
    qint64 maxEntries = 10'000;
};

class ZipExtractor {
public:
    virtual ~ZipExtractor() = default;
    // Extracts every entry into folder, overwriting without asking; entries that would land
    // outside folder, and links that lead outside it, are left out. A failure when the archive
    // could not be read at all, or when it goes beyond the extractor's limits: then what this
    // extraction wrote is removed again.
    virtual Result<> extract(const QString& archivePath, const QString& folder) = 0;
};

}  // namespace velandri
