#include "app/data_file_store.h"

namespace velandri {

LoadOutcome DataFileStore::loadStore(UrlStore& store) { return file_.loadStore(store); }

SaveOutcome DataFileStore::saveStore(UrlStore& store) { return file_.saveStore(store); }

}  // namespace velandri
