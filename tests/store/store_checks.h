#pragma once

#include <QString>
#include <ostream>

#include "store/url_store.h"

namespace velandri {

// Checks every invariant a store must meet after a load.
void expectStoreInvariants(const UrlStore& store);

// A store with texts in every kind of field: settings, Japanese tab names, used slots.
UrlStore sampleStore();

// What a load gives back for a store written by a save: trimmed texts, titles and contents
// filled to 15 characters, slots numbered.
UrlStore asLoaded(UrlStore store);

// Compares every field, naming the slot that differs.
void expectSameStore(const UrlStore& actual, const UrlStore& expected);

// Lets GoogleTest print texts readably.
void PrintTo(const QString& text, std::ostream* os);

}  // namespace velandri
