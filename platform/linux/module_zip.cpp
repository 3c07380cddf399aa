#include "platform/linux/module_zip.h"

#include <QFile>
#include <QLibrary>

ModuleZipExtractor::ModuleZipExtractor(QString modulePath) : modulePath_(std::move(modulePath)) {}

bool ModuleZipExtractor::extract(const QString& archivePath, const QString& folder) {
    // Left loaded: the program ends soon after an update is installed.
    QLibrary module(modulePath_);
    const auto extractZip =
        reinterpret_cast<VelandriExtractZip>(module.resolve("velandriExtractZip"));
    if (!extractZip) {
        qWarning("%s", qPrintable(module.errorString()));
        return false;
    }
    return extractZip(QFile::encodeName(archivePath).constData(),
                      QFile::encodeName(folder).constData());
}
