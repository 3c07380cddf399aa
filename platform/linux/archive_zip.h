#pragma once

#include <optional>
#include <string>

#include "platform/zip.h"

namespace velandri {

// Zip extraction with libarchive's secure extraction: entries with "..", absolute paths or
// paths through links on disk are refused. Symbolic links are made last, once every other entry
// is in place, and each one that then really leads outside the folder (followed through the
// links before it, however its text is spelled) is removed again. Stops at the limits and then
// removes what it wrote.
class ArchiveZipExtractor : public ZipExtractor {
public:
    explicit ArchiveZipExtractor(ExtractionLimits limits = {});
    Result<> extract(const QString& archivePath, const QString& folder) override;

private:
    ExtractionLimits limits_;
};

// Where an absolute path really leads, as the system would resolve it: every symbolic link on
// the way followed, and the part from the first name that does not exist on taken as written.
// Nothing when the links nest deeper than the system follows them.
std::optional<std::string> realDestination(const std::string& path);

}  // namespace velandri
