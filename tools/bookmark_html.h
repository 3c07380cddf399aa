#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <functional>

#include "store/url_store.h"

namespace velandri {

// Netscape bookmark files (<!DOCTYPE NETSCAPE-Bookmark-file-1>), the format every browser
// imports and exports.

// The store as such a file in UTF-8: one folder per tab that has a name or entries, in tab
// order, named after the tab; the store's filling of titles and contents removed.
QByteArray exportBookmarkHtml(const UrlStore& store);

struct HtmlBookmark {
    QString folder;  // the enclosing folder; outside every folder, the file's <H1> heading
    QString url;     // empty when the link has no address
    QString title;
    QString content;  // the <DD> text that follows the link
};

// Bounds that keep a hostile file quick to read. libxml2 nests each <DT> in the one before
// until a <DD> or </DL> closes them, so a folder of n links without descriptions is n elements
// deep: the nesting bound leaves room for folders far larger than a tab.
inline constexpr int kDeepestNesting = 100000;
// Every parser error formats a message, and an unmatched end tag searches all open elements.
// An error costs kErrorCost plus the depth it occurs at; the reading stops past the budget
// (a second or so of errors). Browsers' own files give none.
inline constexpr qint64 kErrorCost = 100;
inline constexpr qint64 kErrorBudget = qint64(1) << 28;
// libxml2 compares each attribute with every one before it in its element. A browser writes a
// few per element; an element with more stops the reading. Large elements cost their share of
// the error budget, so that no file of many of them holds the reading for long.
inline constexpr int kMostAttributes = 100;

struct HtmlReadout {
    enum class Stop { None, TooDeep, TooBroken, TooManyAttributes };
    qsizetype linkCount = 0;
    Stop stop = Stop::None;  // why the reading ended before the end of the file
};

// What a reading hands on, in document order; either may be left empty.
struct BookmarkVisitor {
    std::function<void(const QString& name)> folder;    // a folder, as its list opens
    std::function<void(const HtmlBookmark&)> bookmark;  // a link, as soon as it is complete
};

// Reads such a file. Texts have their character references decoded and their blanks trimmed.
// The parser builds no tree, so memory follows the nesting depth, not the document's size.
HtmlReadout readBookmarkHtml(QByteArrayView html, const BookmarkVisitor& visit);

}  // namespace velandri
