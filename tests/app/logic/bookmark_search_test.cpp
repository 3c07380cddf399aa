#include "app/logic/bookmark_search.h"

#include <gtest/gtest.h>

#include "fakes/qt_printers.h"

using namespace velandri;

namespace velandri {
void PrintTo(const SearchHit& hit, std::ostream* os) {
    *os << "{" << hit.tab << ", " << hit.slot << "}";
}
}  // namespace velandri

namespace {

void put(UrlStore& store, SearchHit at, const QString& title, const QString& url,
         const QString& content) {
    store.entries[at.tab][at.slot] = {QString::number(at.slot + 1), title, url, content};
}

// Titles and contents as the data file holds them: padded with ideographic spaces to 15.
QString padded(const QString& text) { return text.leftJustified(15, u'\u3000'); }

UrlStore sampleStore() {
    UrlStore store;
    store.tabNames = {"ニュース", "天気", "調べもの", "暮らし", "その他"};
    put(store, {0, 0}, padded("ＡＢＣニュース"), "https://abc.example.jp/", padded("ﾃﾚﾋﾞ局"));
    put(store, {0, 1}, "Yahoo!ニュース", "https://news.yahoo.co.jp/", "総合サイト");
    put(store, {0, 2}, "防災", "https://bosai.example/jma", "");
    put(store, {1, 0}, "tenki.jp", "https://tenki.jp/", "天気予報");
    put(store, {1, 1}, "きしょうちょう", "www.jma.go.jp/bosai", "");
    put(store, {2, 0}, padded("ウィキペディア"), "https://ja.wikipedia.org/", padded("百科事典"));
    put(store, {2, 1}, "国立国会図書館", "https://www.ndl.go.jp/", "蔵書の検索");
    put(store, {3, 0}, "ガイド", "https://example.com/news", "");
    put(store, {3, 1}, "News Today", "https://today.example/", "");
    put(store, {3, 2}, "Good NEWS", "https://good.example/", "");
    // An empty address ends a tab's list; what stands after it is not listed, nor found.
    put(store, {4, 1}, "hidden", "https://hidden.example/", "");
    return store;
}

struct Case {
    const char* name;
    QString query;
    std::vector<SearchHit> found;
};

const Case kCases[] = {
    {"full_width_query_finds_half_width_title", "ｔｅｎｋｉ", {{1, 0}}},
    {"half_width_query_finds_full_width_title", "abc", {{0, 0}}},
    {"letter_case_is_ignored", "YAHOO", {{0, 1}}},
    {"half_width_katakana_finds_katakana", "ﾆｭｰｽ", {{0, 0}, {0, 1}, {0, 2}}},
    {"hiragana_finds_half_width_katakana", "てれび", {{0, 0}}},
    {"hiragana_finds_katakana", "うぃき", {{2, 0}}},
    {"katakana_finds_hiragana", "キショウ", {{1, 1}}},
    {"kanji_are_matched_as_they_are", "図書館", {{2, 1}}},
    {"kanji_are_not_read", "としょかん", {}},
    {"ideographic_space_separates_words", "百科\u3000うぃき", {{2, 0}}},
    {"every_word_must_occur", "yahoo 天気", {}},
    {"words_may_occur_in_different_fields", "tenki 予報", {{1, 0}}},
    {"the_tab_name_matches_its_entries", "調べもの", {{2, 0}, {2, 1}}},
    {"host_of_an_address_without_scheme", "JMA", {{1, 1}, {0, 2}}},
    {"title_start_then_title_then_host_then_elsewhere", "news", {{3, 1}, {3, 2}, {0, 1}, {3, 0}}},
    {"blanks_alone_find_nothing", " \u3000 ", {}},
    {"unlisted_slots_are_not_found", "hidden", {}},
    {"a_word_again_counts_once", "news ＮＥＷＳ　news News", {{3, 1}, {3, 2}, {0, 1}, {3, 0}}},
    {"only_the_first_six_distinct_words_count",
     "yahoo yahoo ニュース 総合 サイト co jp 天気",
     {{0, 1}}},
};

void PrintTo(const Case& row, std::ostream* os) { *os << row.name; }

class Matching : public testing::TestWithParam<Case> {};

TEST_P(Matching, FindsTheseEntriesInThisOrder) {
    const UrlStore store = sampleStore();
    BookmarkSearch search(store);
    EXPECT_EQ(search.find(GetParam().query), GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(BookmarkSearch, Matching, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

TEST(BookmarkSearch, ShowsAtMostThirtyBestFirst) {
    UrlStore store;
    for (int tab = 0; tab < kTabCount; ++tab) {
        store.tabNames[tab] = QStringLiteral("tab");
        for (int slot = 0; slot < kSlotCount; ++slot) {
            put(store, {tab, slot}, "title", QStringLiteral("https://e/%1/%2").arg(tab).arg(slot),
                "");
        }
    }
    store.entries[9][29][UrlField::title] = QStringLiteral("tabulator");
    BookmarkSearch search(store);

    const std::vector<SearchHit> hits = search.find("TAB");
    ASSERT_EQ(hits.size(), 30u);
    EXPECT_EQ(hits[0], (SearchHit{9, 29}));
    EXPECT_EQ(hits[1], (SearchHit{0, 0}));
    EXPECT_EQ(hits[29], (SearchHit{0, 28}));
}

TEST(BookmarkSearch, SeesEntriesChangedDuringTheSession) {
    UrlStore store = sampleStore();
    BookmarkSearch search(store);
    ASSERT_EQ(search.find("wiki").size(), 1u);
    store.entries[2][0][UrlField::url] = QStringLiteral("https://ja.wiktionary.org/");
    EXPECT_TRUE(search.find("wiki").empty());
}

TEST(BookmarkSearch, ResultLineIsTheTabNameThenTheListLine) {
    const UrlStore store = sampleStore();
    const BookmarkSearch search(store);
    EXPECT_EQ(search.resultLine({0, 1}), "ニュース ›   2 : Ｙａｈｏｏ！ニュース" +
                                             QString(5, u' ') + "  総合サイト" + QString(10, u' '));
}

}  // namespace
