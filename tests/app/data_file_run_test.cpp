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
        button(form, 0)->click();
        box(form, 0)->setText(title);
        box(form, 1)->setText(url);
        button(form, 6)->click();
    }
};

}  // namespace

class DataFileRunTest : public QObject {
    Q_OBJECT

private slots:
    void onlyTheExitButtonKeepsTheRunsChanges() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const DataPaths paths{dir.filePath("data"), dir.filePath("program")};
        QVERIFY(QDir().mkpath(paths.programFolder));
        UrlStore fallback = storeWithEntries(0, 2);
        QVERIFY(
            writeStoreFile(QDir(paths.programFolder).filePath("url_bak"), fallback).has_value());

        {
            FileRun run(paths);
            QCOMPARE(list(run.windows.form1())->count(), 2);
            run.add(QStringLiteral("追加"), QStringLiteral("http://added/"));
            button(run.windows.form1(), 5)->click();
            QCOMPARE(run.endings, 1);
            QVERIFY(run.fake.messages.shown.empty());
        }
        QVERIFY(QFile::exists(QDir(paths.dataFolder).filePath("url")));
        {
            FileRun run(paths);
            QCOMPARE(list(run.windows.form1())->count(), 3);
            QCOMPARE(run.store.entries[0][2][UrlField::url], QStringLiteral("http://added/"));
            QCOMPARE(trim(run.store.entries[0][2][UrlField::title]), QStringLiteral("追加"));
            run.add(QStringLiteral("lost"), QStringLiteral("http://lost/"));
            chooseMenuEnd(run.windows.form1());  // the tray menu's "終了"
            QCOMPARE(run.endings, 1);
        }
        {
            FileRun run(paths);
            QCOMPARE(list(run.windows.form1())->count(), 3);
            QVERIFY(run.store.entries[0][3][UrlField::url].isEmpty());
        }
    }

    // A save made before the load ahead is taken is what the next load reads.
    void aSaveBeforeTheLoadAheadIsWhatTheNextLoadReads() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const DataPaths paths{dir.filePath("data"), dir.filePath("program")};
        DataFileStore file(paths);
        UrlStore saved = storeWithEntries(0, 2);
        QVERIFY(file.saveStore(saved).has_value());
        file.loadAhead();
        saved = storeWithEntries(0, 5);
        QVERIFY(file.saveStore(saved).has_value());
        UrlStore loaded;
        QVERIFY(file.loadStore(loaded).readWhole.has_value());
        QCOMPARE(loaded.entries[0][4][UrlField::url], QStringLiteral("http://host/4"));
    }

    // What the load ahead found out about the file reaches the run: the notice, and the
    // damaged file kept aside at the save.
    void aDamagedFileReadAheadIsReportedAndKeptAside() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const DataPaths paths{dir.filePath("data"), dir.filePath("program")};
        QVERIFY(QDir().mkpath(paths.dataFolder));
        QFile damaged(QDir(paths.dataFolder).filePath("url"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(300, 'L'));
        damaged.close();

        FileRun run(paths);
        QCOMPARE(run.fake.messages.shown.size(), size_t(1));
        button(run.windows.form1(), 5)->click();
        QCOMPARE(run.endings, 1);
        QCOMPARE(QDir(paths.dataFolder).entryList({QStringLiteral("url.damaged-*")}).size(), 1);
    }
};

QTEST_MAIN(DataFileRunTest)
#include "data_file_run_test.moc"
