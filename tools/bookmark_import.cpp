#include "tools/bookmark_import.h"

#include <QSet>
#include <algorithm>
#include <optional>

#include "store/jis_fold.h"
#include "store/outside_address.h"
#include "store/stored_text.h"
#include "store/tab_edits.h"
#include "store/text.h"

namespace velandri {

namespace {

// The text as the data file will give it back. Comparing in this form keeps a second import of
// the same file from adding anything.
QString asStored(const QString& text) {
    QString stored = text;
    for (QChar& c : stored) c = storedCharacter(c);
    return stored;
}

// The parser gives U+FFFD for what the file could not give: a NUL, or bytes that are not UTF-8.
bool isDamaged(const QString& url) { return url.contains(QChar::ReplacementCharacter); }

bool isTooLong(const QString& text) { return text.size() > kLongestImportedText; }

bool isTooLong(const HtmlBookmark& bookmark) {
    return isTooLong(bookmark.url) || isTooLong(bookmark.title) || isTooLong(bookmark.content) ||
           isTooLong(bookmark.folder);
}

// Control characters of a hostile file must not reach the terminal that shows the report.
QString printable(const QString& text) {
    QString shown = text;
    for (QChar& c : shown)
        if (c.category() == QChar::Other_Control) c = QChar::ReplacementCharacter;
    return shown;
}

QString reason(const HtmlBookmark& bookmark, ImportResult result) {
    switch (result) {
        case ImportResult::NoAddress:
            return QStringLiteral("the link has no address");
        case ImportResult::NotWeb:
            return QStringLiteral("only web addresses (http, https) are imported");
        case ImportResult::Damaged:
            return QStringLiteral(
                "the address holds a NUL or bytes that are not UTF-8, so it is not the one the "
                "browser saved");
        case ImportResult::NotAnAddress:
            return QStringLiteral(
                "the address holds a blank or a control character, also once decoded, or "
                "begins with \"-\": a browser would take it as options");
        case ImportResult::TooLong:
            return QStringLiteral(
                       "its address, title, description or folder name is longer "
                       "than %1 characters")
                .arg(kLongestImportedText);
        case ImportResult::TabFull:
            return QStringLiteral("the tab \"%1\" already holds %2 entries")
                .arg(printable(bookmark.folder))
                .arg(kSlotCount);
        case ImportResult::NoFreeTab:
            return QStringLiteral("no tab for the folder \"%1\": all %2 tabs are named or used")
                .arg(printable(bookmark.folder))
                .arg(kTabCount);
        case ImportResult::Added:
        case ImportResult::Duplicate:
            break;
    }
    return {};
}

// Why the link itself cannot go into any tab, if it cannot.
std::optional<ImportResult> linkProblem(const HtmlBookmark& bookmark) {
    if (bookmark.url.isEmpty()) return ImportResult::NoAddress;
    if (isDamaged(bookmark.url)) return ImportResult::Damaged;
    switch (checkOutsideAddress(bookmark.url)) {
        case OutsideAddress::CouldBeOption:
            return ImportResult::NotAnAddress;
        case OutsideAddress::NotWeb:
            return ImportResult::NotWeb;
        case OutsideAddress::Accepted:
            break;
    }
    if (isTooLong(bookmark)) return ImportResult::TooLong;
    return std::nullopt;
}

}  // namespace

BookmarkImport::BookmarkImport(UrlStore& store) : store_(store) {}

void BookmarkImport::claimTab(const QString& folder) {
    if (!isTooLong(folder)) tabFor(asStored(folder));
}

ImportResult BookmarkImport::add(const HtmlBookmark& bookmark) {
    if (const std::optional<ImportResult> problem = linkProblem(bookmark)) return *problem;
    const int tab = tabFor(asStored(bookmark.folder));
    if (tab < 0) return ImportResult::NoFreeTab;
    // In the encoded form the save writes, so that no character becomes "?".
    const QString url = asStored(storableUrl(bookmark.url));
    if (tabHolds(tab, url)) return ImportResult::Duplicate;
    const int slot = firstFreeSlot(store_.entries[tab]);
    if (slot < 0) return ImportResult::TabFull;
    writeEntry(store_.entries[tab][slot], bookmark.title, url, bookmark.content);
    return ImportResult::Added;
}

int BookmarkImport::tabFor(const QString& folder) {
    for (int tab = 0; tab < kTabCount; ++tab)
        if (trim(store_.tabNames[tab]) == folder) return tab;
    for (int tab = 0; tab < kTabCount; ++tab) {
        if (isBlank(store_.tabNames[tab]) && !tabHasEntries(store_.entries[tab])) {
            store_.tabNames[tab] = folder;
            return tab;
        }
    }
    return -1;
}

bool BookmarkImport::tabHolds(int tab, const QString& url) const {
    const auto& entries = store_.entries[tab];
    return std::any_of(entries.begin(), entries.end(),
                       [&url](const UrlEntry& entry) { return trim(entry[UrlField::url]) == url; });
}

bool isReported(ImportResult result) {
    return result != ImportResult::Added && result != ImportResult::Duplicate;
}

QString reportLine(const HtmlBookmark& bookmark, ImportResult result) {
    const QString link = bookmark.url.isEmpty()
                             ? QStringLiteral("(no address) \"%1\"").arg(bookmark.title)
                             : bookmark.url;
    return QStringLiteral("%1: %2").arg(printable(link), reason(bookmark, result));
}

ImportSummary importBookmarkHtml(QByteArrayView html, UrlStore& store,
                                 const std::function<void(const QString& line)>& report) {
    // A first reading finds whether the whole file can be read, before anything changes, and
    // which folders hold a link that can go into a tab.
    QSet<QString> foldersWithLinks;
    const auto noteFolder = [&foldersWithLinks](const HtmlBookmark& bookmark) {
        if (!linkProblem(bookmark)) foldersWithLinks.insert(bookmark.folder);
    };
    ImportSummary summary{readBookmarkHtml(html, {{}, noteFolder}), true};
    if (summary.readout.stop != HtmlReadout::Stop::None || summary.readout.linkCount == 0)
        return summary;
    BookmarkImport import(store);
    const auto claim = [&](const QString& folder) {
        if (foldersWithLinks.contains(folder)) import.claimTab(folder);
    };
    const auto add = [&](const HtmlBookmark& bookmark) {
        const ImportResult result = import.add(bookmark);
        if (!isReported(result)) return;
        summary.allImported = false;
        report(reportLine(bookmark, result));
    };
    readBookmarkHtml(html, {claim, add});
    return summary;
}

}  // namespace velandri
