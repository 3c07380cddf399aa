// Any bytes given to write as JSON: refused with a reason, refused as too large for a data file,
// or written as a file the program loads whole and that dump gives back as JSON write accepts.
#include <QJsonDocument>
#include <cstdint>
#include <cstdlib>

#include "store/store_file.h"
#include "store/store_line.h"
#include "store_invariants.h"
#include "tools/store_json.h"

using namespace velandri;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Result<UrlStore> store = storeFromJson(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!store) {
        if (store.error().detail.isEmpty()) std::abort();
        return 0;
    }
    const Result<QByteArray> content = storeFileContent(store.value());
    if (!content) return 0;
    UrlStore loaded;
    if (!parseLine(content.value(), loaded).whole || !meetsInvariants(loaded)) std::abort();
    if (!storeFromJson(QJsonDocument(storeToJson(loaded)).toJson())) std::abort();
    return 0;
}
