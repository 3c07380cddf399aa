// velandri-zip: libarchive's zip extraction as a module the program loads only when it installs
// an update, so that libarchive and its compression libraries stay out of every start.
#include <QFile>
#include <type_traits>

#include "platform/linux/archive_zip.h"
#include "platform/linux/module_entry.h"
#include "platform/linux/module_zip.h"

using namespace velandri;

extern "C" Q_DECL_EXPORT bool velandriExtractZip(const char* archivePath, const char* folder,
                                                 qint64 maxBytes, qint64 maxEntries, char* reason,
                                                 size_t reasonSize) {
    ArchiveZipExtractor extractor(ExtractionLimits{maxBytes, maxEntries});
    const Result<> extracted =
        extractor.extract(QFile::decodeName(archivePath), QFile::decodeName(folder));
    if (!extracted) writeModuleReason(extracted.error().detail, reason, reasonSize);
    return bool(extracted);
}

// The program resolves the entry point by name and calls it through this type.
static_assert(std::is_same_v<decltype(&velandriExtractZip), VelandriExtractZip>);
