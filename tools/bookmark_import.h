#pragma once

#include <QByteArrayView>
#include <QString>
#include <functional>

#include "store/url_store.h"
#include "tools/bookmark_html.h"

namespace velandri {

// What became of one bookmark of a browser's file.
enum class ImportResult {
    Added,
    Duplicate,     // its tab already holds the address
    NoAddress,     // the link has no HREF
    Damaged,       // the file holds a NUL or bytes that are not UTF-8 in the address
    NotWeb,        // not an http or https address: javascript:, place:, file: and the like
    NotAnAddress,  // a blank or control character inside, also once decoded, or a leading
                   // "-": on a browser's command line it would become an option of its own
    TooLong,       // an address, title, description or folder name longer than
                   // kLongestImportedText
    TabFull,       // its tab holds kSlotCount entries
    NoFreeTab,     // no tab has the folder's name and none is unnamed and empty
};

// Longer texts come from no real bookmark and would bloat the data file, which stores every
// character as up to seven.
inline constexpr int kLongestImportedText = 8192;

// Adds bookmarks to a store by folder. A folder goes to the tab whose trimmed name is the
// folder's name, else to the first tab with neither a name nor entries, which takes the
// folder's name.
class BookmarkImport {
public:
    explicit BookmarkImport(UrlStore& store);

    // Gives the folder its tab as the folder opens, so that tabs follow the folders' order.
    void claimTab(const QString& folder);
    ImportResult add(const HtmlBookmark& bookmark);

private:
    int tabFor(const QString& folder);  // -1 when there is none
    bool tabHolds(int tab, const QString& url) const;

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

// Adds the bookmarks of a browser's file to the store. Folders that hold a link that could go
// into a tab claim their tabs in document order, and no other folder takes one; the links
// outside every folder claim one with the first of them that could go into a tab. Each
// bookmark not added or skipped as a duplicate is handed to report as one line. A file that
// cannot be read to its end, or holds no link, changes nothing and reports nothing.
ImportSummary importBookmarkHtml(QByteArrayView html, UrlStore& store,
                                 const std::function<void(const QString& line)>& report);

}  // namespace velandri
