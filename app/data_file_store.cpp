#include "app/data_file_store.h"

namespace velandri {

void DataFileStore::loadAhead() {
    ahead_ = std::async(std::launch::async, [this] {
        Load load;
        load.outcome = file_.loadStore(load.store);
        return load;
    });
}

LoadOutcome DataFileStore::loadStore(UrlStore& store) {
    if (!ahead_.valid()) return file_.loadStore(store);
    Load load = ahead_.get();
    store = std::move(load.store);
    return load.outcome;
}

SaveOutcome DataFileStore::saveStore(UrlStore& store) {
    if (ahead_.valid()) ahead_.wait();  // the file is the load's until it is done
    return file_.saveStore(store);
}

}  // namespace velandri
