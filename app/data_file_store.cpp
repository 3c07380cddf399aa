#include "app/data_file_store.h"

namespace velandri {

void DataFileStore::loadAhead() {
    ahead_ = std::async(std::launch::async, [this] {
        Load load;
        load.loaded = file_.loadStore(load.store);
        return load;
    });
}

LoadedFile DataFileStore::loadStore(UrlStore& store) {
    if (!ahead_.valid()) return file_.loadStore(store);
    Load load = ahead_.get();
    store = std::move(load.store);
    return load.loaded;
}

SaveOutcome DataFileStore::saveStore(UrlStore& store) {
    // A load still running has the file until it is done; its result would be older than this
    // save, so a later load reads the file anew.
    ahead_ = {};
    return file_.saveStore(store);
}

}  // namespace velandri
