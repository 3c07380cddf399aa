// Any bytes imported as a browser's bookmark file: the reading ends, the report cannot steer a
// terminal, nothing a browser would take as options is imported, and the store saves to a file
// the program loads whole.
#include <cstdint>
#include <cstdlib>

#include "store/store_file.h"
#include "store/store_line.h"
#include "store/text.h"
#include "store_invariants.h"
#include "tools/bookmark_import.h"

using namespace velandri;

namespace {

bool hasControl(const QString& text) {
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control) return true;
    return false;
}

bool couldBeAnOption(const QString& url) {
    for (const QChar c : url)
        if (c.isSpace()) return true;
    return url.startsWith(u'-') || hasControl(url);
}

// The used slots of each tab run unbroken from the first, as the list shows them.
bool importedInOrder(const UrlStore& store) {
    for (const auto& tab : store.entries)
        for (int slot = 1; slot < kSlotCount; ++slot)
            if (isBlank(tab[slot - 1][UrlField::url]) && !isBlank(tab[slot][UrlField::url]))
                return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    UrlStore store = emptyStore();
    importBookmarkHtml(QByteArrayView(data, static_cast<qsizetype>(size)), store,
                       [](const QString& line) {
                           if (line.isEmpty() || hasControl(line)) std::abort();
                       });
    for (const auto& tab : store.entries)
        for (const UrlEntry& entry : tab)
            if (couldBeAnOption(entry[UrlField::url])) std::abort();
    if (!importedInOrder(store)) std::abort();
    const Result<QByteArray> content = storeFileContent(store);
    if (!content) std::abort();
    UrlStore loaded;
    if (!parseLine(content.value(), loaded).whole || !meetsInvariants(loaded)) std::abort();
    return 0;
}
