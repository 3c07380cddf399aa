// One keystroke of the bookmark search, and one question of the desktop's search, over a full
// store: 300 used slots with 15-character titles and contents (data-file padding included) and
// 200-character addresses; the query matches every entry, so all 300 are ranked and 30 lines
// (or 30 results) are made.

#include <benchmark/benchmark.h>

#include "app/logic/bookmark_search.h"
#include "app/logic/desktop_search.h"

using namespace velandri;

namespace {

UrlStore fullStore() {
    UrlStore store;
    for (int tab = 0; tab < kTabCount; ++tab) {
        store.tabNames[tab] = QStringLiteral("タブ%1").arg(tab);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const QString title = QStringLiteral("ﾆｭｰｽ%1の題名 Title").arg(slot);
            const QString content = QStringLiteral("説明%1カタカナ").arg(tab);
            QString url = QStringLiteral("https://www%1.example.jp/%2/").arg(tab).arg(slot);
            url += QString(200 - url.size(), u'a');
            store.entries[tab][slot] = {QString::number(slot + 1),
                                        title.leftJustified(15, u'\u3000'), url,
                                        content.leftJustified(15, u'\u3000')};
        }
    }
    return store;
}

const QString kQuery = QStringLiteral("ＥＸＡＭＰＬＥ　にゅーす");

// A keystroke within a session: the store's texts are folded already.
void keystroke(benchmark::State& state) {
    const UrlStore store = fullStore();
    BookmarkSearch search(store);
    if (search.find(kQuery).size() != kMostSearchResults) state.SkipWithError("not 30 results");
    for (auto _ : state) benchmark::DoNotOptimize(search.resultLines(search.find(kQuery)));
}
BENCHMARK(keystroke)->Unit(benchmark::kMillisecond);

// The first keystroke of a session folds every text of the store once.
void firstKeystroke(benchmark::State& state) {
    const UrlStore store = fullStore();
    for (auto _ : state) {
        BookmarkSearch search(store);
        benchmark::DoNotOptimize(search.resultLines(search.find(kQuery)));
    }
}
BENCHMARK(firstKeystroke)->Unit(benchmark::kMillisecond);

struct OpenGate : DesktopSearchHost {
    bool gateOpen() const override { return true; }
    void openEntry(int, int) override {}
    void showSearch(const QString&) override {}
};

// One question of the desktop's search as GNOME Shell asks it: the ids, then their names and
// descriptions. KRunner's Match does the same work in one call.
void desktopQuery(benchmark::State& state) {
    const UrlStore store = fullStore();
    OpenGate gate;
    DesktopSearch search(store, gate);
    const QStringList terms = kQuery.split(u'\u3000');
    if (search.describe(search.find(terms)).size() != kMostSearchResults)
        state.SkipWithError("not 30 results");
    for (auto _ : state) benchmark::DoNotOptimize(search.describe(search.find(terms)));
}
BENCHMARK(desktopQuery)->Unit(benchmark::kMillisecond);

// The first question of the run folds every text of the store once.
void firstDesktopQuery(benchmark::State& state) {
    const UrlStore store = fullStore();
    OpenGate gate;
    const QStringList terms = kQuery.split(u'\u3000');
    for (auto _ : state) {
        DesktopSearch search(store, gate);
        benchmark::DoNotOptimize(search.describe(search.find(terms)));
    }
}
BENCHMARK(firstDesktopQuery)->Unit(benchmark::kMillisecond);

// The longest query a box takes: short words repeated up to 32,767 characters.
QString pastedQuery() {
    QString query;
    while (query.size() < 32767 - 3) query += QStringLiteral("ab ");
    return query.left(32767);
}

// The same pasted in Japanese, which folding has to transliterate.
QString pastedJapaneseQuery() {
    QString query;
    while (query.size() < 32767 - 5) query += QStringLiteral("ニュース ");
    return query.left(32767);
}

// A query of as many distinct three-letter words as fit in 32,767 characters.
QString distinctWordsQuery() {
    QString query;
    for (char16_t a = u'a'; a <= u'z' && query.size() < 32763; ++a)
        for (char16_t b = u'a'; b <= u'z' && query.size() < 32763; ++b)
            for (char16_t c = u'a'; c <= u'z' && query.size() < 32763; ++c)
                query += QString(QChar(a)) + QChar(b) + QChar(c) + QChar(u' ');
    return query;
}

// Every slot used, each address of the given length ending in the query's first words (as many
// as fill half of it), so that those words are looked for through the whole address.
UrlStore storeOfLongAddresses(qsizetype length, const QString& query) {
    UrlStore store = fullStore();
    const QString tail = QString(query).remove(u' ').left(length / 2);
    QString url = QStringLiteral("https://www.example.jp/");
    url += QString(length - url.size() - tail.size(), u'x') + tail;
    for (auto& tab : store.entries)
        for (UrlEntry& entry : tab) entry[UrlField::url] = url;
    return store;
}

// Any query over any store the program loads: a pasted query over 300 addresses as long as
// the import allows (8,192) or as a written file may hold (12,000, and the longest that a
// data file the program reads can give every slot: 16 MiB over 300 addresses of at least three
// bytes a character).
void pastedQuery(benchmark::State& state, QString (*makeQuery)()) {
    const QString query = makeQuery();
    const UrlStore store = storeOfLongAddresses(state.range(0), query);
    for (auto _ : state) {
        BookmarkSearch search(store);
        benchmark::DoNotOptimize(search.resultLines(search.find(query)));
    }
}
// The same once the session has folded the store's texts.
void pastedQueryInASession(benchmark::State& state, QString (*makeQuery)()) {
    const QString query = makeQuery();
    const UrlStore store = storeOfLongAddresses(state.range(0), query);
    BookmarkSearch search(store);
    search.find(query);
    for (auto _ : state) benchmark::DoNotOptimize(search.resultLines(search.find(query)));
}
BENCHMARK_CAPTURE(pastedQueryInASession, distinctWords, distinctWordsQuery)
    ->Arg(18641)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pastedQuery, repeatedWords, pastedQuery)
    ->Arg(8192)
    ->Arg(12000)
    ->Arg(18641)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pastedQuery, repeatedJapaneseWords, pastedJapaneseQuery)
    ->Arg(8192)
    ->Arg(18641)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pastedQuery, distinctWords, distinctWordsQuery)
    ->Arg(8192)
    ->Arg(12000)
    ->Arg(18641)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
