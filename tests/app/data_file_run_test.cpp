#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/data_file_store.h"
#include "store/store_file.h"
#include "store/text.h"
#include "window_harness.h"

using namespace velandri;

namespace {

// One run of the program over the real data file in dataFolder, with fakes for the rest; the
// file is read ahead, as the program does.
struct FileRun : WindowRun<DataFileStore> {
    explicit FileRun(const DataPaths& paths) : WindowRun(paths) {
        storeIo.loadAhead();
        start();
    }

    void add(const QString& title, const QString& url) {
        Form1& form = windows.form1();
        button(form, kUrlSetting)->click();
        box(form, kTitleBox)->setText(title);
        box(form, kUrlBox)->setText(url);
        button(form, kCommit)->click();
    }
};

}  // namespace

TEST(DataFileRunTest, OnlyTheExitButtonKeepsTheRunsChanges) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const DataPaths paths{dir.filePath("data"), dir.filePath("program")};
    ASSERT_TRUE(QDir().mkpath(paths.programFolder));
    UrlStore fallback = storeWithEntries(0, 2);
    ASSERT_TRUE(
        writeStoreFile(QDir(paths.programFolder).filePath("url_bak"), fallback).has_value());

    {
        FileRun run(paths);
        ASSERT_EQ(list(run.windows.form1())->count(), 2);
        run.add(QStringLiteral("追加"), QStringLiteral("http://added/"));
        button(run.windows.form1(), kExit)->click();
        ASSERT_EQ(run.endings, 1);
        ASSERT_TRUE(run.fake.messages.shown.empty());
    }
    ASSERT_TRUE(QFile::exists(QDir(paths.dataFolder).filePath("url")));
    {
        FileRun run(paths);
        ASSERT_EQ(list(run.windows.form1())->count(), 3);
        ASSERT_EQ(run.store.entries[0][2][UrlField::url], QStringLiteral("http://added/"));
        ASSERT_EQ(trim(run.store.entries[0][2][UrlField::title]), QStringLiteral("追加"));
        run.add(QStringLiteral("lost"), QStringLiteral("http://lost/"));
        chooseMenuEnd(run.windows.form1());  // the tray menu's "終了"
        ASSERT_EQ(run.endings, 1);
    }
    {
        FileRun run(paths);
        ASSERT_EQ(list(run.windows.form1())->count(), 3);
        ASSERT_TRUE(run.store.entries[0][3][UrlField::url].isEmpty());
    }
}

TEST(DataFileRunTest, ASaveBeforeTheLoadAheadIsWhatTheNextLoadReads) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const DataPaths paths{dir.filePath("data"), dir.filePath("program")};
    DataFileStore file(paths);
    UrlStore saved = storeWithEntries(0, 2);
    ASSERT_TRUE(file.saveStore(saved).has_value());
    file.loadAhead();
    saved = storeWithEntries(0, 5);
    ASSERT_TRUE(file.saveStore(saved).has_value());
    UrlStore loaded;
    ASSERT_TRUE(file.loadStore(loaded).has_value());
    ASSERT_EQ(loaded.entries[0][4][UrlField::url], QStringLiteral("http://host/4"));
}

TEST(DataFileRunTest, ADamagedFileReadAheadIsReportedAndKeptAside) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const DataPaths paths{dir.filePath("data"), dir.filePath("program")};
    ASSERT_TRUE(QDir().mkpath(paths.dataFolder));
    QFile damaged(QDir(paths.dataFolder).filePath("url"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(300, 'L'));
    damaged.close();

    FileRun run(paths);
    ASSERT_EQ(run.fake.messages.shown.size(), size_t(1));
    button(run.windows.form1(), kExit)->click();
    ASSERT_EQ(run.endings, 1);
    ASSERT_EQ(QDir(paths.dataFolder).entryList({QStringLiteral("url.damaged-*")}).size(), 1);
}
