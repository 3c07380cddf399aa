#pragma once

#include "platform/zip.h"

namespace velandri {

// Zip extraction with libarchive's secure extraction: entries with "..", absolute paths or
// paths through links on disk are refused, and links whose target lies outside are skipped.
class ArchiveZipExtractor : public ZipExtractor {
public:
    Result<> extract(const QString& archivePath, const QString& folder) override;
};

}  // namespace velandri
