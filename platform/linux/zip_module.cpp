// velandri-zip: libarchive's zip extraction as a module the program loads only when it installs
// an update, so that libarchive and its compression libraries stay out of every start.
#include <QFile>

#include "platform/linux/archive_zip.h"
#include "platform/linux/module_zip.h"

extern "C" Q_DECL_EXPORT bool velandriExtractZip(const char* archivePath, const char* folder) {
    ArchiveZipExtractor extractor;
    return extractor.extract(QFile::decodeName(archivePath), QFile::decodeName(folder));
}
