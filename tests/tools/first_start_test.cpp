#include <gtest/gtest.h>

#include "store/store_checks.h"
#include "store/store_file.h"
#include "store/text.h"

using namespace velandri;

namespace {

TEST(FirstStart, FallbackFileHoldsTenTabsAndADozenBookmarks) {
    UrlStore store;
    const LoadedFile outcome = loadStoreFile(QStringLiteral(VELANDRI_URL_BAK), store);
    ASSERT_TRUE(outcome.has_value()) << outcome.error().detail.toStdString();
    expectStoreInvariants(store);
    EXPECT_EQ(store.password, QString());
    EXPECT_EQ(store.topMost, 0);
    EXPECT_EQ(store.minimizeOnLaunch, 0);
    EXPECT_EQ(store.logoffMinutes, 0);
    EXPECT_EQ(store.browser, 0);
    for (const QString& name : store.tabNames) EXPECT_FALSE(isBlank(name));
    int used = 0;
    for (const auto& tab : store.entries) {
        for (const UrlEntry& entry : tab) {
            if (isBlank(entry[UrlField::url])) continue;
            ++used;
            EXPECT_TRUE(entry[UrlField::url].startsWith(QStringLiteral("https://")));
            for (int field : {UrlField::title, UrlField::content}) {
                const QString text = trim(entry[field]);
                EXPECT_FALSE(text.isEmpty());
                EXPECT_LE(text.size(), kTextBoxLimit) << text.toStdString();
            }
        }
    }
    EXPECT_GE(used, 12);
}

}  // namespace
