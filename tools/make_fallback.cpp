// Generates a fallback data file from its readable JSON source at build time.

#include <QFile>
#include <QString>
#include <cstdio>

#include "store/store_file.h"
#include "tools/store_json.h"

using namespace velandri;

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("usage: velandri-make-fallback SOURCE.json OUTPUT\n", stderr);
        return 1;
    }
    const QString source = QFile::decodeName(argv[1]);
    const QString output = QFile::decodeName(argv[2]);
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qUtf8Printable(file.errorString()));
        return 2;
    }
    Result<UrlStore> store = storeFromJson(file.readAll());
    if (!store) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qUtf8Printable(store.error().detail));
        return 1;
    }
    const SaveOutcome outcome = writeStoreFile(output, store.value());
    if (!outcome) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(outcome.error().detail));
        return 2;
    }
    return 0;
}
