#include "app/logic/bookmark_search.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <QRegularExpression>
#include <QUrl>
#include <algorithm>
#include <array>
#include <memory>

#include "app/logic/list_line.h"
#include "store/tab_edits.h"

namespace velandri {

namespace {

// Katakana, half-width ones with their voiced marks too, become hiragana; then full-width ASCII
// and the ideographic space become half-width. Hiragana and kanji have no half-width form.
constexpr char16_t kFoldRules[] = u"Katakana-Hiragana; Fullwidth-Halfwidth";

// Built at the first use, not at start: ICU's list of transliterators and the rules take about
// 10 ms to load.
const icu::Transliterator* foldTransliterator() {
    static const std::unique_ptr<icu::Transliterator> transliterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> made(icu::Transliterator::createInstance(
            icu::UnicodeString(kFoldRules), UTRANS_FORWARD, status));
        if (U_FAILURE(status)) made.reset();
        return made;
    }();
    return transliterator.get();
}

icu::UnicodeString toIcu(const QString& text) {
    return icu::UnicodeString(reinterpret_cast<const char16_t*>(text.utf16()),
                              static_cast<int32_t>(text.size()));
}

QString fromIcu(const icu::UnicodeString& text) {
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

QString hostOf(const QString& url) {
    const QString host = QUrl(url).host();
    if (!host.isEmpty() || url.contains(QStringLiteral("://"))) return host;
    // An address typed without its scheme still names its host first.
    return QUrl(QStringLiteral("http://") + url).host();
}

// The query's distinct folded words, the first kMostSearchWords of them: a repeated word finds
// nothing more, and the bound keeps a pasted page from costing more than a few words. Folding
// makes no blank but of the ideographic space, so the words are folded one by one, and only
// until enough are found.
QStringList searchWords(const QString& query) {
    static const QRegularExpression blanks(QStringLiteral("[ \u3000]+"));
    QStringList typed = query.split(blanks, Qt::SkipEmptyParts);
    typed.removeDuplicates();
    QStringList words;
    for (const QString& word : typed) {
        if (words.size() == kMostSearchWords) break;
        const QString folded = foldForSearch(word);
        if (!words.contains(folded)) words << folded;
    }
    return words;
}

}  // namespace

QString foldForSearch(const QString& text) {
    // Neither kana nor full-width forms are ASCII: an address needs its letter case folded only.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) {
        return text.toLower();
    }
    icu::UnicodeString folding = toIcu(text);
    if (const icu::Transliterator* transliterator = foldTransliterator()) {
        transliterator->transliterate(folding);
    }
    folding.foldCase();
    return fromIcu(folding);
}

void prepareFolding() { foldTransliterator(); }

std::vector<SearchHit> BookmarkSearch::find(const QString& query) {
    const QStringList words = searchWords(query);
    if (words.isEmpty()) return {};
    // One list per place, each in tab and slot order, joined best place first.
    std::array<std::vector<SearchHit>, static_cast<size_t>(Place::Nowhere)> byPlace;
    for (int tab = 0; tab < kTabCount; ++tab) {
        const TabSlots& tabSlots = store_.entries[tab];
        const int listed = listedCount(tabSlots);
        for (int slot = 0; slot < listed; ++slot) {
            const Place place = bestPlace(words, tab, tabSlots[slot]);
            if (place != Place::Nowhere) byPlace[static_cast<size_t>(place)].push_back({tab, slot});
        }
    }
    std::vector<SearchHit> hits;
    for (const std::vector<SearchHit>& found : byPlace) {
        for (const SearchHit& hit : found) {
            if (hits.size() == kMostSearchResults) return hits;
            hits.push_back(hit);
        }
    }
    return hits;
}

// Every word must be found somewhere; the entry ranks by the best place any word reached.
BookmarkSearch::Place BookmarkSearch::bestPlace(const QStringList& words, int tab,
                                                const UrlEntry& entry) {
    const QString title = folded(entry[UrlField::title]);
    const QString url = folded(entry[UrlField::url]);
    const QString host = foldedHost(entry[UrlField::url]);
    const QString content = folded(entry[UrlField::content]);
    const QString tabName = folded(store_.tabNames[tab]);
    Place best = Place::Nowhere;
    for (const QString& word : words) {
        const Place place = placeOf(word, title, host, url, content, tabName);
        if (place == Place::Nowhere) return Place::Nowhere;
        best = std::min(best, place);
    }
    return best;
}

BookmarkSearch::Place BookmarkSearch::placeOf(const QString& word, const QString& title,
                                              const QString& host, const QString& url,
                                              const QString& content,
                                              const QString& tabName) const {
    if (title.startsWith(word)) return Place::TitleStart;
    if (title.contains(word)) return Place::Title;
    if (host.contains(word)) return Place::Host;
    if (url.contains(word) || content.contains(word) || tabName.contains(word)) {
        return Place::Elsewhere;
    }
    return Place::Nowhere;
}

QString BookmarkSearch::folded(const QString& text) {
    auto found = folded_.find(text);
    if (found == folded_.end()) found = folded_.insert(text, foldForSearch(text));
    return found.value();
}

QString BookmarkSearch::foldedHost(const QString& url) {
    auto found = hosts_.find(url);
    if (found == hosts_.end()) found = hosts_.insert(url, foldForSearch(hostOf(url)));
    return found.value();
}

QString BookmarkSearch::resultLine(const SearchHit& hit) const {
    return store_.tabNames[hit.tab] + QStringLiteral(" › ") +
           listLine(store_.entries[hit.tab][hit.slot]);
}

QStringList BookmarkSearch::resultLines(const std::vector<SearchHit>& hits) const {
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(hits.size()));
    for (const SearchHit& hit : hits) lines << resultLine(hit);
    return lines;
}

}  // namespace velandri
