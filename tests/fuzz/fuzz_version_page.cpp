// Any page text gives a version that lies inside the page, or none.
#include <cstdint>
#include <cstdlib>

#include "update/version.h"

using namespace velandri;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString page =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<QString> version = parseVersionPage(page);
    if (version && (version->size() > 60 || !page.contains(u"velandri"))) std::abort();
    return 0;
}
