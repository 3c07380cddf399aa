#pragma once

#include <QString>

class ZipExtractor {
public:
    virtual ~ZipExtractor() = default;
    // Extracts every entry into folder, overwriting without asking; entries that would land
    // outside folder are skipped. False when the archive could not be read at all.
    virtual bool extract(const QString& archivePath, const QString& folder) = 0;
};
