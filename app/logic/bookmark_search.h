#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

#include "store/url_store.h"

namespace velandri {

constexpr int kMostSearchResults = 30;
// Words of a query beyond these are left out; each costs a pass over the store's texts.
constexpr int kMostSearchWords = 6;

// The text as matching sees it: full-width and half-width forms alike, katakana as hiragana,
// letter case folded, the ideographic space a blank. Kanji stay as they are.
QString foldForSearch(const QString& text);

// Builds the folding rules ahead of the first search, which would otherwise pay the 10 ms their
// building takes.
void prepareFolding();

// One entry found by a search: the slot of a tab.
struct SearchHit {
    int tab = 0;
    int slot = 0;
    bool operator==(const SearchHit&) const = default;
};

// One search session over a store. It keeps the folded form of every text it has seen, so a
// keystroke folds only the query; texts changed in the store are folded afresh when met.
class BookmarkSearch {
public:
    explicit BookmarkSearch(const UrlStore& store) : store_(store) {}

    // The listed entries of all tabs in which every blank-separated word of the query occurs in
    // the title, the URL, the content or the tab's name; best first, at most 30. A word that
    // comes again counts once, and only the first kMostSearchWords distinct words count.
    std::vector<SearchHit> find(const QString& query);

    // The tab's name, " › ", then the entry's list line.
    QString resultLine(const SearchHit& hit) const;
    QStringList resultLines(const std::vector<SearchHit>& hits) const;

private:
    // Where a word stands in an entry; a smaller value ranks first.
    enum class Place { TitleStart, Title, Host, Elsewhere, Nowhere };

    Place bestPlace(const QStringList& words, int tab, const UrlEntry& entry);
    Place placeOf(const QString& word, const QString& title, const QString& host,
                  const QString& url, const QString& content, const QString& tabName) const;
    // Copies, as a later insertion may move the hash's values.
    QString folded(const QString& text);
    QString foldedHost(const QString& url);

    const UrlStore& store_;
    QHash<QString, QString> folded_;
    QHash<QString, QString> hosts_;
};

}  // namespace velandri
