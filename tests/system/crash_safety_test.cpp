// A save killed at any moment must leave the previous data file or the new one, whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <random>
#include <tuple>

#include "store/data_file.h"

using namespace velandri;

namespace {

UrlStore storeWithMark(const QString& mark) {
    UrlStore store;
    store.password = mark;
    for (int tab = 0; tab < kTabCount; ++tab) {
        store.tabNames[tab] = mark + QString::number(tab);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            UrlEntry& entry = store.entries[tab][slot];
            entry[UrlField::title] = QStringLiteral("題名%1").arg(slot);
            entry[UrlField::url] = QStringLiteral("https://example.org/%1/%2/%3")
                                       .arg(mark)
                                       .arg(tab)
                                       .arg(slot)
                                       .repeated(4);
            entry[UrlField::content] = QStringLiteral("内容です%1").arg(tab);
        }
    }
    return store;
}

// Saves the two stores in turn, starting with the given one, until killed.
[[noreturn]] void saveForever(const DataPaths& paths, unsigned first) {
    UrlStore stores[2] = {storeWithMark(QStringLiteral("A")), storeWithMark(QStringLiteral("B"))};
    DataFile file(paths);
    // Only what a kill leaves behind is examined, not how each save went.
    for (unsigned i = first;; ++i) std::ignore = file.saveStore(stores[i % 2]);
}

}  // namespace

TEST(CrashSafety, KilledSavesLeaveAWholeOldOrNewFile) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const DataPaths paths{root.filePath(QStringLiteral("data")),
                          root.filePath(QStringLiteral("prog"))};
    {
        UrlStore first = storeWithMark(QStringLiteral("A"));
        ASSERT_TRUE(DataFile(paths).saveStore(first).has_value());
    }

    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> delayUs(0, 100000);
    constexpr int kKills = 150;
    int sawA = 0;
    int sawB = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) saveForever(paths, kill % 2);
        usleep(static_cast<useconds_t>(delayUs(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        UrlStore loaded;
        const LoadedFile outcome = DataFile(paths).loadStore(loaded);
        ASSERT_TRUE(outcome.has_value())
            << "after kill " << kill << ": " << outcome.error().detail.toStdString();
        ASSERT_TRUE(loaded.password == u"A" || loaded.password == u"B") << "after kill " << kill;
        const UrlStore expected = storeWithMark(loaded.password);
        EXPECT_EQ(loaded.tabNames, expected.tabNames);
        EXPECT_EQ(loaded.entries[9][29][UrlField::url], expected.entries[9][29][UrlField::url]);
        (loaded.password == u"A" ? sawA : sawB)++;
    }
    // Both versions must have been caught, or the kills never landed inside a save.
    EXPECT_GT(sawA, 0);
    EXPECT_GT(sawB, 0);
}
