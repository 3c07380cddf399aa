#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "app/browser_launch.h"
#include "app/data_file_store.h"
#include "app/form1.h"
#include "app/program_windows.h"
#include "app/store_io.h"
#include "fakes/fake_platform.h"
#include "fakes/qt_printers.h"
#include "fakes/stubbed_platform.h"
#include "update/updater.h"
#include "window_harness.h"

using namespace velandri;

namespace {

class PreparedStoreIo : public StoreIo {
public:
    LoadedFile loadStore(UrlStore& store) override {
        store = prepared;
        return QString();
    }
    SaveOutcome saveStore(UrlStore&) override { return {}; }
    UrlStore prepared;
};

class NoUpdate : public Updater {
public:
    void checkVersion(QString&) override {}
    void subUpdate() override {}
};

const QString kPlainUrl = QStringLiteral("http://example.com/a b?q=1");
const QString kHostileUrl = QStringLiteral("http://x/;touch $HOME/pwned1 `touch $HOME/pwned2`");

// A real double-click arrives as a click followed by the double-click event.
void doubleClickLine(Form1& form1, int row) {
    const QRect line = list(form1)->visualItemRect(list(form1)->item(row));
    QTest::mouseClick(list(form1)->viewport(), Qt::LeftButton, {}, line.center());
    QTest::mouseDClick(list(form1)->viewport(), Qt::LeftButton, {}, line.center());
}

// The real windows and the real process start, file test and automation object, with stub
// browsers; everything else is fake.
class Form1DoubleClickTest : public testing::Test, protected StubbedPlatform {
protected:
    Form1DoubleClickTest() {
        UrlStore& prepared = storeIo.prepared;
        for (int t = 0; t < kTabCount; ++t) prepared.tabNames[t] = QStringLiteral("tab%1").arg(t);
        for (int e = 0; e < kSlotCount; ++e)
            prepared.entries[0][e][UrlField::number] = QString::number(e + 1);
        prepared.entries[0][0][UrlField::title] = QStringLiteral("plain");
        prepared.entries[0][0][UrlField::url] = kPlainUrl;
        prepared.entries[0][1][UrlField::title] = QStringLiteral("hostile");
        prepared.entries[0][1][UrlField::url] = kHostileUrl;
        prepared.minimizeOnLaunch = 1;
    }

    void startWithBrowser(int16_t code) {
        storeIo.prepared.browser = code;
        windows.start();
    }

    void doubleClickRow(int row) {
        windows.form1().showNormal();
        shared.logoffTicks = 5;
        doubleClickLine(windows.form1(), row);
    }

    UrlStore store;
    SharedValues shared;
    PreparedStoreIo storeIo;
    NoUpdate updater;
    BrowserLaunch launcher{store, browserPlatform(platform)};
    ProgramWindows windows{store,
                           shared,
                           platform,
                           storeIo,
                           updater,
                           launcher,
                           QStringLiteral("http://site.invalid/")};
};

TEST_F(Form1DoubleClickTest, OpensTheEntryInFirefoxAndMinimizes) {
    stubs.install("firefox");
    startWithBrowser(1);

    doubleClickRow(0);
    EXPECT_EQ(stubs.takeArguments("firefox"), kPlainUrl.split(u' '));
    EXPECT_EQ(shared.logoffTicks, 0);
    EXPECT_TRUE(windows.form1().isMinimized());

    doubleClickRow(1);
    EXPECT_EQ(stubs.takeArguments("firefox"), kHostileUrl.split(u' '));
    EXPECT_TRUE(QDir(stubs.home()).entryList({"pwned*"}).isEmpty());
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(Form1DoubleClickTest, OpensThePerUserChrome) {
    stubs.installPerUser("chromium");
    stubs.install("chromium");
    startWithBrowser(4);
    doubleClickRow(0);
    EXPECT_EQ(stubs.takeArguments("per-user-chromium"), kPlainUrl.split(u' '));
    EXPECT_FALSE(stubs.ran("chromium"));
}

TEST_F(Form1DoubleClickTest, OpensTheDefaultBrowserForInternetExplorer) {
    stubs.install("xdg-open");
    startWithBrowser(0);
    doubleClickRow(1);
    EXPECT_EQ(stubs.takeArguments("xdg-open"), QStringList({kHostileUrl}));
    EXPECT_TRUE(QDir(stubs.home()).entryList({"pwned*"}).isEmpty());
}

TEST_F(Form1DoubleClickTest, ABrowserThatIsNotInstalledIsExplainedAndTheWindowStillMinimizes) {
    startWithBrowser(3);
    doubleClickRow(0);
    EXPECT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(windows.form1().isMinimized());
    EXPECT_EQ(fake.programEnd.ended, 0);
}

// One run of the program's windows over the real data file, the real process start and stub
// browsers.
struct FileRun {
    FileRun(StubbedPlatform& stubbed, const DataPaths& paths)
        : platform(stubbed.platform), storeIo(paths) {
        windows.start();
        store.browser = 1;
    }
    void doubleClickRow(int row) { doubleClickLine(windows.form1(), row); }

    Platform& platform;
    UrlStore store;
    SharedValues shared;
    DataFileStore storeIo;
    NoUpdate updater;
    BrowserLaunch launcher{store, browserPlatform(platform)};
    ProgramWindows windows{store,
                           shared,
                           platform,
                           storeIo,
                           updater,
                           launcher,
                           QStringLiteral("http://site.invalid/")};
};

// An address that code page 932 cannot hold, added in one run, is opened from the data file
// in the next as the same address.
TEST(Form1AcrossARestart, AKoreanAddressReachesTheBrowserUnchangedInMeaning) {
    StubbedPlatform stubbed;
    stubbed.stubs.install("firefox");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const DataPaths paths{dir.filePath("data"), dir.filePath("program")};
    const QString korean = QStringLiteral("https://ko.wikipedia.org/wiki/한국어");
    {
        FileRun run(stubbed, paths);
        Form1& form1 = run.windows.form1();
        button(form1, kUrlSetting)->click();
        box(form1, kTitleBox)->setText(QStringLiteral("韓国語"));
        box(form1, kUrlBox)->setText(korean);
        button(form1, kCommit)->click();
        button(form1, kExit)->click();
    }
    FileRun run(stubbed, paths);
    ASSERT_EQ(list(run.windows.form1())->count(), 1);
    run.doubleClickRow(0);
    const QStringList arguments = stubbed.stubs.takeArguments("firefox");
    ASSERT_EQ(arguments.size(), 1);
    EXPECT_EQ(QUrl(arguments[0], QUrl::StrictMode).toEncoded(), QUrl(korean).toEncoded());
    EXPECT_EQ(QUrl(arguments[0]).toString(), korean);
}

}  // namespace
