#include "store/store_checks.h"

#include <gtest/gtest.h>

#include "store/text.h"

namespace velandri {

void expectStoreInvariants(const UrlStore& store) {
    EXPECT_GE(store.logoffMinutes, 0);
    EXPECT_LE(store.logoffMinutes, 60);
    for (int tab = 0; tab < kTabCount; ++tab) {
        bool seenEmpty = false;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const UrlEntry& entry = store.entries[tab][slot];
            EXPECT_EQ(entry[UrlField::number], QString::number(slot + 1));
            EXPECT_GE(entry[UrlField::title].size(), kTextBoxLimit);
            EXPECT_GE(entry[UrlField::content].size(), kTextBoxLimit);
            const bool used = !isBlank(entry[UrlField::url]);
            EXPECT_FALSE(used && seenEmpty) << "tab " << tab << " slot " << slot;
            seenEmpty = seenEmpty || !used;
        }
    }
}

UrlStore sampleStore() {
    UrlStore store;
    store.password = QStringLiteral("ひみつ12");
    store.topMost = 1;
    store.minimizeOnLaunch = 1;
    store.logoffMinutes = 30;
    store.browser = 4;
    for (int tab = 0; tab < kTabCount; ++tab) {
        store.tabNames[tab] = QStringLiteral("タブ%1").arg(tab);
        for (int slot = 0; slot < 3 + tab; ++slot)
            store.entries[tab][slot] = {
                QString(), QStringLiteral("題名%1-%2").arg(tab).arg(slot),
                QStringLiteral("https://example.jp/%1/%2").arg(tab).arg(slot),
                QStringLiteral("説明ｶﾅ%1").arg(slot)};
    }
    return store;
}

UrlStore asLoaded(UrlStore store) {
    store.password = trim(store.password);
    for (QString& name : store.tabNames) name = trim(name);
    for (auto& tab : store.entries) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            UrlEntry& entry = tab[slot];
            for (QString& text : entry) text = trim(text);
            entry[UrlField::number] = QString::number(slot + 1);
            for (int field : {UrlField::title, UrlField::content})
                while (entry[field].size() < kTextBoxLimit) entry[field] += u'\u3000';
        }
    }
    return store;
}

void expectSameStore(const UrlStore& actual, const UrlStore& expected) {
    EXPECT_EQ(actual.password, expected.password);
    EXPECT_EQ(actual.topMost, expected.topMost);
    EXPECT_EQ(actual.minimizeOnLaunch, expected.minimizeOnLaunch);
    EXPECT_EQ(actual.logoffMinutes, expected.logoffMinutes);
    EXPECT_EQ(actual.browser, expected.browser);
    EXPECT_EQ(actual.tabNames, expected.tabNames);
    for (int tab = 0; tab < kTabCount; ++tab)
        for (int slot = 0; slot < kSlotCount; ++slot)
            EXPECT_EQ(actual.entries[tab][slot], expected.entries[tab][slot])
                << "tab " << tab << " slot " << slot;
}

void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

}  // namespace velandri
