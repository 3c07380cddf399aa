#pragma once

#include <future>

#include "app/store_io.h"
#include "store/data_file.h"

namespace velandri {

// The real data file with its fallbacks.
class DataFileStore : public StoreIo {
public:
    explicit DataFileStore(const DataPaths& paths) : file_(paths) {}
    // Starts the first load on a thread of its own, while the windows are being built; the next
    // loadStore takes its result.
    void loadAhead();
    LoadedFile loadStore(UrlStore& store) override;
    SaveOutcome saveStore(UrlStore& store) override;

private:
    struct Load {
        UrlStore store;
        LoadedFile loaded = QString();
    };

    DataFile file_;
    std::future<Load> ahead_;  // waited for when it goes
};

}  // namespace velandri
