#include "platform/linux/linux_platform.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <ctime>
#include <functional>

#include "fakes/qt_printers.h"
#include "fakes/stub_programs.h"

using namespace velandri;

namespace {

const QString kFirefox = QStringLiteral(R"(C:\Program Files\Mozilla Firefox\firefox.exe )");
const QString kSafari = QStringLiteral(R"(C:\Program Files\Safari\Safari.exe )");
const QString kOpera = QStringLiteral(R"(C:\Program Files\Opera\opera.exe )");
const QString kChrome = QStringLiteral(R"(C:\Program Files\Google\Chrome\Application\chrome.exe)");
const QString kUserChrome =
    QStringLiteral(R"(C:\Users\u\AppData\Local\Google\Chrome\Application\chrome.exe)");

class LinuxPlatformTest : public testing::Test {
protected:
    StubPrograms stubs;
    LinuxPlatform real;
    Platform platform = real.platform();
};

TEST_F(LinuxPlatformTest, DesignedCommandLinesReachTheStandInBrowsersSplitAtBlanks) {
    stubs.install("firefox");
    stubs.install("epiphany-browser");
    stubs.install("opera");
    stubs.install("google-chrome");
    stubs.installPerUser("google-chrome");
    stubs.install("xdg-open");
    const QString url = QStringLiteral("http://example.com/a b?q=1&r=2");
    const QStringList split = {"http://example.com/a", "b?q=1&r=2"};

    struct Row {
        QString commandLine;
        QString stub;
    };
    const Row rows[] = {{kFirefox + url, "firefox"},
                        {kSafari + url, "epiphany-browser"},
                        {kOpera + url, "opera"},
                        {kChrome + u' ' + url, "google-chrome"},
                        {QStringLiteral("EXPLORER.EXE ") + url, "xdg-open"}};
    for (const Row& row : rows) {
        ASSERT_TRUE(platform.process.start(row.commandLine, WindowStyle::NormalFocus))
            << qPrintable(row.commandLine);
        EXPECT_EQ(stubs.takeArguments(row.stub), split) << qPrintable(row.commandLine);
    }

    // The per-user installation is another program than the one in PATH.
    ASSERT_TRUE(platform.process.start(kUserChrome + u' ' + url, WindowStyle::NormalFocus));
    EXPECT_EQ(stubs.takeArguments("per-user-google-chrome"), split);
    EXPECT_FALSE(stubs.ran("google-chrome"));
}

TEST_F(LinuxPlatformTest, ShellCharactersInAUrlArriveAsTextAndRunNothing) {
    stubs.install("firefox");
    const QStringList urls = {"http://x/;touch $HOME/pwned1", "http://x/`touch $HOME/pwned2`",
                              "http://x/$(touch $HOME/pwned3)", "http://x/|touch $HOME/pwned4",
                              "http://x/&&touch${IFS}$HOME/pwned5>'"};
    for (const QString& url : urls) {
        ASSERT_TRUE(platform.process.start(kFirefox + url, WindowStyle::NormalFocus));
        EXPECT_EQ(stubs.takeArguments("firefox"), url.split(u' ')) << qPrintable(url);
    }
    const QStringList markers = QDir(stubs.home()).entryList({"pwned*"});
    EXPECT_TRUE(markers.isEmpty()) << qPrintable(markers.join(u' '));
}

TEST_F(LinuxPlatformTest, MissingOrUnusableProgramsAreReportedNotStarted) {
    stubs.installNotExecutable("opera");
    {
        QFile broken(stubs.binFolder() + "/firefox");
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("#!/nonexistent/interpreter\n");
        broken.close();
        broken.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    EXPECT_FALSE(platform.process.start(kSafari + "http://x/", WindowStyle::NormalFocus));
    EXPECT_FALSE(platform.process.start(kOpera + "http://x/", WindowStyle::NormalFocus));
    EXPECT_FALSE(platform.process.start(kFirefox + "http://x/", WindowStyle::NormalFocus))
        << "a program that cannot be executed";
    EXPECT_FALSE(platform.process.start(R"(C:\Tools\tool.exe x)", WindowStyle::NormalFocus));
    EXPECT_FALSE(platform.process.start("", WindowStyle::NormalFocus));
}

TEST_F(LinuxPlatformTest, ProgramExistsAsksForTheStandInProgram) {
    EXPECT_FALSE(platform.files.programExists(kUserChrome));
    EXPECT_FALSE(platform.files.programExists(kChrome));
    stubs.installPerUser("chromium");
    stubs.install("chromium-browser");
    EXPECT_TRUE(platform.files.programExists(kUserChrome));
    EXPECT_TRUE(platform.files.programExists(kChrome));
    stubs.installNotExecutable("opera");
    EXPECT_FALSE(platform.files.programExists(kOpera.trimmed()));
}

TEST_F(LinuxPlatformTest, PelkamoStartsFromTheCurrentDirectory) {
    const QString before = QDir::currentPath();
    QTemporaryDir dataFolder;
    stubs.installIn(dataFolder.path(), "Pelkamo.exe");
    ASSERT_TRUE(platform.files.setCurrentDirectory(dataFolder.path()));
    EXPECT_TRUE(platform.process.start("Pelkamo.exe", WindowStyle::NormalFocus));
    EXPECT_EQ(stubs.takeArguments("Pelkamo.exe"), QStringList({""}));
    QDir::setCurrent(before);
    EXPECT_FALSE(platform.files.setCurrentDirectory(dataFolder.path() + "/missing"));
}

TEST_F(LinuxPlatformTest, AutomationNavigatesWithTheDefaultBrowser) {
    EXPECT_EQ(platform.automation.create("Shell.Application"), nullptr);
    auto browser = platform.automation.create("InternetExplorer.Application");
    ASSERT_NE(browser, nullptr);
    EXPECT_FALSE(browser->Navigate("http://x/")) << "no xdg-open to be found";

    stubs.install("xdg-open");
    browser->setVisible(true);
    const QString url = QStringLiteral("http://x/a b;touch $HOME/pwned");
    EXPECT_TRUE(browser->Navigate(url));
    EXPECT_EQ(stubs.takeArguments("xdg-open"), QStringList({url})) << "one argument, as given";
    EXPECT_FALSE(QFile::exists(stubs.home() + "/pwned"));
}

// The helper is found beside the program: the answer is libcurl's, not the helper client's.
TEST_F(LinuxPlatformTest, HttpRunsInTheHelperBesideTheProgram) {
    const Result<HttpResponse> response = platform.http.get(QStringLiteral("ftp://127.0.0.1/"));
    ASSERT_FALSE(response.has_value());
    const QString& reason = response.error().detail;
    EXPECT_TRUE(reason.contains(QStringLiteral("ftp"))) << reason.toStdString();
    EXPECT_FALSE(reason.startsWith(QStringLiteral("velandri-http")));
}

TEST(LinuxPlatformPaths, DataFolderFollowsXdgDataHome) {
    const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
    StubPrograms stubs;  // a temporary HOME
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(LinuxPlatform::dataPaths().dataFolder, stubs.home() + "/.local/share/Velandri");
    qputenv("XDG_DATA_HOME", "/tmp/velandri-data-home");
    EXPECT_EQ(LinuxPlatform::dataPaths().dataFolder, "/tmp/velandri-data-home/Velandri");
    EXPECT_EQ(LinuxPlatform::dataPaths().programFolder, QCoreApplication::applicationDirPath());
    qputenv("XDG_DATA_HOME", oldDataHome);
}

double cpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

TEST(EventPump, WaitRunsEventsAsTheyComeWithoutSpinning) {
    LinuxPlatform real;
    Platform platform = real.platform();
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(20);

    const qint64 start = platform.clock.milliseconds();
    const double cpuStart = cpuSeconds();
    platform.events.waitForEvents(400);
    const double cpuUsed = cpuSeconds() - cpuStart;

    EXPECT_GE(platform.clock.milliseconds() - start, 400);
    EXPECT_GE(ticks, 2) << "timer events run during the wait";
    // A busy loop would burn about the whole 0.4 s of processor time.
    EXPECT_LT(cpuUsed, 0.2);
}

// A launch can still be waiting when the user ends the program from the tray menu.
TEST(EventPump, WaitKeepsRunningEventsOnceTheApplicationIsQuitting) {
    LinuxPlatform real;
    QCoreApplication::exit(0);
    bool ran = false;
    QTimer::singleShot(20, [&] { ran = true; });
    const double cpuStart = cpuSeconds();
    real.platform().events.waitForEvents(300);
    EXPECT_LT(cpuSeconds() - cpuStart, 0.15);
    EXPECT_TRUE(ran);
    // Running the main loop once clears the quit request for the tests that follow.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
}

TEST(EventPump, ProcessPendingRunsPostedEvents) {
    LinuxPlatform real;
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    real.platform().events.processPending();
    EXPECT_TRUE(ran);
}

// Runs check on the message box once it is open.
void whenBoxOpens(const std::function<void(QMessageBox&)>& check) {
    QTimer::singleShot(0, [check] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        check(*box);
    });
}

TEST(MessageBoxes, QuestionsDefaultToYesAndNoticesHaveOnlyOk) {
    LinuxPlatform real;
    Platform platform = real.platform();
    whenBoxOpens([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("問い合わせ"));
        EXPECT_EQ(box.text(), QStringLiteral("削除しますか？"));
        EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::Yes));
        box.button(QMessageBox::No)->click();
    });
    EXPECT_FALSE(platform.messages.ask("問い合わせ", "削除しますか？"));

    whenBoxOpens([](QMessageBox& box) { box.defaultButton()->click(); });
    EXPECT_TRUE(platform.messages.ask("問い合わせ", "削除しますか？"));

    bool checked = false;
    whenBoxOpens([&checked](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("メッセージ"));
        EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
        checked = true;
        box.button(QMessageBox::Ok)->click();
    });
    platform.messages.notice("メッセージ", "登録しました。");
    EXPECT_TRUE(checked);
}

TEST(WindowSystem, TopMostKeepsTheWindowShownWhereItWas) {
    LinuxPlatform real;
    Platform platform = real.platform();
    QWidget window;
    window.setGeometry(100, 120, 300, 200);
    window.show();
    const QRect geometry = window.geometry();

    platform.windows.setTopMost(&window, true);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.geometry(), geometry);
    EXPECT_TRUE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));

    window.hide();
    window.show();
    EXPECT_TRUE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint))
        << "kept through hiding into the tray and back";

    window.hide();
    platform.windows.setTopMost(&window, false);
    window.show();
    EXPECT_FALSE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));

    // Set while hidden, cleared while shown.
    window.hide();
    platform.windows.setTopMost(&window, true);
    window.show();
    EXPECT_TRUE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    platform.windows.setTopMost(&window, false);
    window.hide();
    window.show();
    EXPECT_FALSE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));

    platform.windows.setTopMost(&window, true);
    window.showMinimized();
    platform.windows.setTopMost(&window, false);
    EXPECT_TRUE(window.isMinimized()) << "the change leaves the window state alone";
    EXPECT_FALSE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(UserInfo, NamesTheEffectiveUser) {
    LinuxPlatform real;
    QProcess id;
    id.start("/usr/bin/id", {"-un"});
    ASSERT_TRUE(id.waitForFinished());
    EXPECT_EQ(real.platform().user.userName(), QString::fromLocal8Bit(id.readAll()).trimmed());
}

}  // namespace
