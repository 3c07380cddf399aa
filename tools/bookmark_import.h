#pragma once

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <optional>

#include "store/url_store.h"
#include "tools/bookmark_html.h"

// What became of one bookmark of a browser's file.
enum class ImportResult {
    Added,
    Duplicate,   // its tab already holds the address
    NoAddress,   // the link has no HREF
    CannotOpen,  // a javascript: or place: link, which only a browser itself can run
    TooLong,     // an address, title or description longer than kLongestImportedText
    TabFull,     // its tab holds kSlotCount entries
    NoFreeTab,   // no tab has the folder's name and none is unnamed and empty
};

// Longer texts come from no real bookmark and would bloat the data file, which stores every
// character as up to seven.
inline constexpr int kLongestImportedText = 8192;

// Adds bookmarks to a store by folder. A folder's bookmarks go to the tab whose trimmed name is
// the folder's name, else to the first tab with neither a name nor entries, which takes the
// folder's name.
class BookmarkImport {
public:
    explicit BookmarkImport(UrlStore& store);

    // NoAddress, CannotOpen or TooLong when the link itself cannot go into any tab.
    static std::optional<ImportResult> linkProblem(const HtmlBookmark& bookmark);
    // Gives the folder its tab now, so that tabs follow the folders' order.
    void claimTab(const QString& folder);
    ImportResult add(const HtmlBookmark& bookmark);

private:
    int tabFor(const QString& folder);  // -1 when there is none
    bool tabHolds(int tab, const QString& url) const;
    int firstEmptySlot(int tab) const;  // -1 when the tab is full

    UrlStore& store_;
};

// Added and Duplicate need no word; every other result gets a reason for the report.
bool isReported(ImportResult result);
// One line of the report: the address (or the title, when there is none) and why.
QString reportLine(const HtmlBookmark& bookmark, ImportResult result);

struct ImportSummary {
    HtmlReadout readout;
    bool allImported = true;  // everything added or skipped as a duplicate
};

// Adds the bookmarks of a browser's file to the store. The folders that hold a link that can be
// imported claim their tabs first, in document order; then each bookmark goes to its folder's
// tab, and each one not added or skipped is handed to report as one line. A file too deep to
// read changes nothing and reports nothing.
ImportSummary importBookmarkHtml(QByteArrayView html, UrlStore& store,
                                 const std::function<void(const QString& line)>& report);
