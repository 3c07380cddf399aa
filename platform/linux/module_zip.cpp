#include "platform/linux/module_zip.h"

#include <QFile>
#include <QLibrary>
#include <array>

namespace velandri {

namespace {

constexpr size_t kReasonBytes = 1024;

}  // namespace

ModuleZipExtractor::ModuleZipExtractor(QString modulePath, ExtractionLimits limits)
    : modulePath_(std::move(modulePath)), limits_(limits) {}

Result<> ModuleZipExtractor::extract(const QString& archivePath, const QString& folder) {
    // Left loaded: the program ends soon after an update is installed.
    QLibrary module(modulePath_);
    const auto extractZip =
        reinterpret_cast<VelandriExtractZip>(module.resolve("velandriExtractZip"));
    if (!extractZip) return Failure{module.errorString()};
    std::array<char, kReasonBytes> reason{};
    if (!extractZip(QFile::encodeName(archivePath).constData(),
                    QFile::encodeName(folder).constData(), limits_.maxBytes, limits_.maxEntries,
                    reason.data(), reason.size()))
        return Failure{QString::fromUtf8(reason.data())};
    return {};
}

}  // namespace velandri
