// velandri-zip: libarchive's zip extraction as a module the program loads only when it installs
// an update, so that libarchive and its compression libraries stay out of every start.
#include <QFile>
#include <cstring>
#include <type_traits>

#include "platform/linux/archive_zip.h"
#include "platform/linux/module_zip.h"

using namespace velandri;

extern "C" Q_DECL_EXPORT bool velandriExtractZip(const char* archivePath, const char* folder,
                                                 char* reason, size_t reasonSize) {
    ArchiveZipExtractor extractor;
    const Result<> extracted =
        extractor.extract(QFile::decodeName(archivePath), QFile::decodeName(folder));
    if (extracted || reasonSize == 0) return bool(extracted);
    const QByteArray text = extracted.error().reason.toUtf8().left(qsizetype(reasonSize - 1));
    std::memcpy(reason, text.constData(), size_t(text.size()));
    reason[text.size()] = '\0';
    return false;
}

// The program resolves the entry point by name and calls it through this type.
static_assert(std::is_same_v<decltype(&velandriExtractZip), VelandriExtractZip>);
