#include "app/logic/desktop_search.h"

#include <gtest/gtest.h>

#include <functional>

#include "fakes/qt_printers.h"

using namespace velandri;

namespace {

struct FakeHost : DesktopSearchHost {
    bool open = true;
    std::vector<SearchHit> opened;
    QStringList shown;
    bool gateOpen() const override { return open; }
    void openEntry(int tab, int slot) override { opened.push_back({tab, slot}); }
    void showSearch(const QString& terms) override { shown << terms; }
};

UrlStore sampleStore() {
    UrlStore store;
    store.tabNames = {"ニュース", "天気"};
    store.entries[0][0] = {"1", "ＡＢＣニュース", "https://abc.example.jp/path", "テレビ"};
    store.entries[0][1] = {"2", "Yahoo!ニュース", "https://news.yahoo.co.jp/", ""};
    store.entries[1][0] = {"1", "tenki", "tenki.jp", "ニュースも"};
    return store;
}

class DesktopSearchTest : public ::testing::Test {
protected:
    UrlStore store = sampleStore();
    FakeHost host;
    DesktopSearch search{store, host};
};

TEST_F(DesktopSearchTest, findsAsTheWindowAndDescribesEachResult) {
    const QStringList ids = search.find({"にゅーす"});
    ASSERT_EQ(ids.size(), 3);
    const std::vector<DesktopResult> results = search.describe(ids);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0], (DesktopResult{ids[0], "ＡＢＣニュース", "ニュース › abc.example.jp"}));
    EXPECT_EQ(results[2].description, "天気 › tenki.jp");
    EXPECT_TRUE(search.open(ids[1]));
    EXPECT_EQ(host.opened, (std::vector<SearchHit>{{0, 1}}));
    search.showAll({"abc", "テレビ"});
    EXPECT_EQ(host.shown, QStringList{"abc テレビ"});
}

// What happens between the search and the choice, and ids no search of this run handed out.
TEST_F(DesktopSearchTest, refusesEveryIdThatNoLongerNamesItsEntry) {
    const QString otherRun = search.find({"Yahoo"}).value(0);
    using Change = std::function<QString(UrlStore&, const QString&)>;
    const std::vector<std::pair<const char*, Change>> rows = {
        {"title changed",
         [](UrlStore& s, const QString& id) {
             return s.entries[0][1][UrlField::title] += "!", id;
         }},
        {"content changed",
         [](UrlStore& s, const QString& id) {
             return s.entries[0][1][UrlField::content] = "x", id;
         }},
        {"tab renamed", [](UrlStore& s, const QString& id) { return s.tabNames[0] = "古い", id; }},
        {"moved up",
         [](UrlStore& s, const QString& id) {
             return std::swap(s.entries[0][0], s.entries[0][1]), id;
         }},
        {"deleted",
         [](UrlStore& s, const QString& id) { return s.entries[0][1] = UrlEntry{"2"}, id; }},
        {"from another run", [&](UrlStore&, const QString&) { return otherRun; }},
        {"empty", [](UrlStore&, const QString&) { return QString(); }},
        {"no fingerprint", [](UrlStore&, const QString&) { return QString("0-1"); }},
        {"slot written with a zero",
         [](UrlStore&, const QString& id) { return QString(id).replace("0-1-", "0-01-"); }},
        {"tab out of range",
         [](UrlStore&, const QString& id) { return QString(id).replace(0, 1, "12"); }},
        {"negative tab", [](UrlStore&, const QString& id) { return "-" + id; }},
        {"huge", [](UrlStore&, const QString& id) { return id + QString(100000, u'a'); }},
        {"unchanged", [](UrlStore&, const QString& id) { return id; }},
    };
    for (const auto& [name, change] : rows) {
        UrlStore changed = sampleStore();
        host.opened.clear();
        DesktopSearch asked(changed, host);
        const QString tried = change(changed, asked.find({"Yahoo"}).value(0));
        const bool opens = std::string(name) == "unchanged";
        EXPECT_EQ(asked.open(tried), opens) << name;
        EXPECT_EQ(asked.describe({tried}).size(), opens ? 1u : 0u) << name;
        EXPECT_EQ(host.opened.size(), opens ? 1u : 0u) << name;
    }
}

TEST_F(DesktopSearchTest, showsNothingWhileTheGateIsClosed) {
    const QStringList ids = search.find({"にゅーす"});
    host.open = false;
    EXPECT_TRUE(search.find({"にゅーす"}).empty());
    EXPECT_TRUE(search.describe(ids).empty());
    EXPECT_FALSE(search.open(ids.value(0)));
    search.showAll({"abc"});
    EXPECT_TRUE(host.opened.empty());
    EXPECT_TRUE(host.shown.empty());
    host.open = true;
    EXPECT_TRUE(search.open(ids.value(0))) << "the gate open again, the entry is unchanged";
}

TEST_F(DesktopSearchTest, boundsWhatOneCallerAsks) {
    QStringList thousands(5000, "tenki");
    EXPECT_EQ(search.find(thousands).size(), 1) << "terms beyond the first few are left out";
    EXPECT_TRUE(search.find({QString(kMostDesktopQueryChars + 1, u'a')}).empty());
    EXPECT_TRUE(search.find({"", " "}).empty()) << "blank terms find nothing, not everything";
    const QString id = search.find({"tenki"}).value(0);
    EXPECT_EQ(search.describe(QStringList(1000, id)).size(), size_t(kMostDesktopIds));
}

}  // namespace
