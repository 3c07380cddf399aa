#pragma once

#include "platform/zip.h"

namespace velandri {

// The module's one entry point, with ZipExtractor::extract's meaning and ExtractionLimits'
// bounds; paths in the local 8-bit encoding of file names. On failure the reason, in UTF-8, is
// written to reason (cut to reasonSize bytes, ending in a zero).
extern "C" {
using VelandriExtractZip = bool (*)(const char* archivePath, const char* folder, qint64 maxBytes,
                                    qint64 maxEntries, char* reason, size_t reasonSize);
}

// ArchiveZipExtractor, loaded from the module velandri-zip.so at the first extraction. A
// failure also when the module cannot be loaded.
class ModuleZipExtractor : public ZipExtractor {
public:
    explicit ModuleZipExtractor(QString modulePath, ExtractionLimits limits = {});
    Result<> extract(const QString& archivePath, const QString& folder) override;

private:
    QString modulePath_;
    ExtractionLimits limits_;
};

}  // namespace velandri
