#include "platform/linux/module_zip.h"

#include <QFile>
#include <utility>

#include "platform/linux/module_entry.h"

namespace velandri {

ModuleZipExtractor::ModuleZipExtractor(QString modulePath, ExtractionLimits limits)
    : modulePath_(std::move(modulePath)), limits_(limits) {}

Result<> ModuleZipExtractor::extract(const QString& archivePath, const QString& folder) {
    return callModule<VelandriExtractZip>(
        FailureKind::archiveNotExtracted, modulePath_, "velandriExtractZip",
        QFile::encodeName(archivePath).constData(), QFile::encodeName(folder).constData(),
        limits_.maxBytes, limits_.maxEntries);
}

}  // namespace velandri
