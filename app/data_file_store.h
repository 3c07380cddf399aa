#pragma once

#include "app/store_io.h"
#include "store/data_file.h"

namespace velandri {

// The real data file with its fallbacks.
class DataFileStore : public StoreIo {
public:
    explicit DataFileStore(const DataPaths& paths) : file_(paths) {}
    LoadOutcome loadStore(UrlStore& store) override;
    SaveOutcome saveStore(UrlStore& store) override;

private:
    DataFile file_;
};

}  // namespace velandri
