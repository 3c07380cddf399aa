#pragma once

#include <QString>

#include "platform/result.h"

namespace velandri {

class ZipExtractor {
public:
    virtual ~ZipExtractor() = default;
    // Extracts every entry into folder, overwriting without asking; entries that would land
    // outside folder are skipped. A failure when the archive could not be read at all.
    virtual Result<> extract(const QString& archivePath, const QString& folder) = 0;
};

}  // namespace velandri
