// One keystroke of the bookmark search over a full store: 300 used slots with 15-character
// titles and contents (data-file padding included) and 200-character addresses; the query
// matches every entry, so all 300 are ranked and 30 lines are made.

#include <benchmark/benchmark.h>

#include "app/logic/bookmark_search.h"

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

}  // namespace

BENCHMARK_MAIN();
