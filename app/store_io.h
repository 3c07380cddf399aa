#pragma once

#include "store/data_file.h"

namespace velandri {

// Where the windows load the store from and save it to: the data file in the program, a
// stand-in in tests.
class StoreIo {
public:
    virtual ~StoreIo() = default;
    virtual LoadedFile loadStore(UrlStore& store) = 0;
    virtual SaveOutcome saveStore(UrlStore& store) = 0;
};

}  // namespace velandri
