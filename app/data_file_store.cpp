#include "app/data_file_store.h"

LoadOutcome DataFileStore::loadStore(UrlStore& store) { return file_.loadStore(store); }

SaveOutcome DataFileStore::saveStore(UrlStore& store) { return file_.saveStore(store); }
