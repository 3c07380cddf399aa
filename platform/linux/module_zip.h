#pragma once

#include "platform/zip.h"

// The module's one entry point, with ZipExtractor::extract's meaning; paths in the local 8-bit
// encoding of file names.
extern "C" {
using VelandriExtractZip = bool (*)(const char* archivePath, const char* folder);
}

// ArchiveZipExtractor, loaded from the module velandri-zip.so at the first extraction. False
// also when the module cannot be loaded.
class ModuleZipExtractor : public ZipExtractor {
public:
    explicit ModuleZipExtractor(QString modulePath);
    bool extract(const QString& archivePath, const QString& folder) override;

private:
    QString modulePath_;
};
