// Any bytes read as a data file give a store the program can work with.
#include <cstdint>
#include <cstdlib>

#include "store/store_line.h"
#include "store_invariants.h"

using namespace velandri;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    UrlStore store;
    parseLine(QByteArrayView(data, static_cast<qsizetype>(size)), store);
    if (!meetsInvariants(store)) std::abort();
    return 0;
}
