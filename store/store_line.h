#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "platform/result.h"
#include "store/url_store.h"

namespace velandri {

// The one line of the data file, built and read without touching any file.

inline constexpr int kPrefixLength = 100;         // random digits ahead of the fields
inline constexpr int kStoredFieldCount = 1215;    // fields a save writes
inline constexpr int kReadableFieldCount = 1216;  // fields a load keeps at most

// The plain form of one field: each character's code followed by "空", then "改";
// an empty (trimmed) text gives "空改".
QString plainField(const QString& text);

// The plain text of the whole store behind the given prefix, fields in file order.
QString plainText(const UrlStore& store, const QString& prefix);

// kPrefixLength random digits.
QString randomPrefix();

// Sets every slot number to its position, "1" to "30".
void renumber(UrlStore& store);

// Renumbers the store and returns its scrambled line with a fresh prefix, without line end.
QByteArray encodeLine(UrlStore& store);

struct LineReadout {
    qsizetype fieldCount = 0;  // fields found, also beyond the ones kept
    Result<> whole;            // why the line could not be read whole, when it could not
};

// Replaces the whole store with what a data file's content holds (its first value, the
// prefix skipped). Any content gives a store that meets every invariant.
LineReadout parseLine(QByteArrayView content, UrlStore& store);

// The store when no file could be read: all texts empty, completed to its invariants.
UrlStore emptyStore();

// Brings a store to its invariants: numbers by position, titles and contents filled to
// 15 characters, log-off minutes bounded, used slots moved ahead of empty ones.
void completeStore(UrlStore& store);

}  // namespace velandri
