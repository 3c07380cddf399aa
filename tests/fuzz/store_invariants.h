#pragma once

#include "store/url_store.h"

namespace velandri {

// True when a loaded store meets what the rest of the program relies on.
bool meetsInvariants(const UrlStore& store);

}  // namespace velandri
