#include "app/browser_launch.h"

#include <gtest/gtest.h>

#include <QFile>

#include "fakes/fake_platform.h"
#include "fakes/qt_printers.h"
#include "fakes/stubbed_platform.h"

using namespace velandri;

namespace {

const QString kUrl = QStringLiteral("http://example.com/a b");
const QString kPerUserChrome =
    QStringLiteral(R"(C:\Users\taro\AppData\Local\Google\Chrome\Application\chrome.exe)");
const QString kSharedChrome =
    QStringLiteral(R"(C:\Program Files\Google\Chrome\Application\chrome.exe)");

class BrowserLaunchTest : public testing::Test {
protected:
    void open(int16_t code, const QString& url = kUrl) {
        store.browser = code;
        BrowserLaunch(store, browserPlatform(platform)).openInBrowser(url);
    }
    QStringList startedLines() const {
        QStringList lines;
        for (const StartedProcess& p : fake.process.started) lines << p.commandLine;
        return lines;
    }

    UrlStore store;
    FakePlatform fake;
    Platform platform = fake.platform();
};

TEST_F(BrowserLaunchTest, CommandLinesAppendTheUrlAsStoredAfterOneBlank) {
    open(1);
    open(2);
    open(3, "http://x/?a=\"b\"&c=%20");
    EXPECT_EQ(startedLines(),
              QStringList({R"(C:\Program Files\Mozilla Firefox\firefox.exe http://example.com/a b)",
                           R"(C:\Program Files\Safari\Safari.exe http://example.com/a b)",
                           R"(C:\Program Files\Opera\opera.exe http://x/?a="b"&c=%20)"}));
    for (const StartedProcess& p : fake.process.started)
        EXPECT_EQ(p.style, WindowStyle::NormalFocus);
    EXPECT_TRUE(fake.files.queried.isEmpty()) << "these paths are not tested before the start";
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(BrowserLaunchTest, ChromeTriesThePerUserInstallationFirstWithTheNameTrimmed) {
    fake.user.name = QStringLiteral(" \u3000taro  ");

    open(4);  // at neither place
    EXPECT_EQ(fake.files.queried, QStringList({kPerUserChrome, kSharedChrome}));
    EXPECT_TRUE(fake.process.started.empty());
    EXPECT_TRUE(fake.messages.shown.empty());

    fake.files.queried.clear();
    fake.files.existing = {kSharedChrome};
    open(4);
    EXPECT_EQ(fake.files.queried, QStringList({kPerUserChrome, kSharedChrome}));
    EXPECT_EQ(startedLines(), QStringList({kSharedChrome + " " + kUrl}));

    fake.files.queried.clear();
    fake.process.started.clear();
    fake.files.existing = {kSharedChrome, kPerUserChrome};
    fake.user.calls = 0;
    open(4);
    EXPECT_EQ(fake.files.queried, QStringList({kPerUserChrome}));
    EXPECT_EQ(startedLines(), QStringList({kPerUserChrome + " " + kUrl}));
    EXPECT_EQ(fake.process.started[0].style, WindowStyle::NormalFocus);
    EXPECT_EQ(fake.user.calls, 2) << "the name is read again for the command line";
}

TEST_F(BrowserLaunchTest, CodesOutsideZeroToFourOpenNothing) {
    fake.files.existing = {kSharedChrome};
    for (const int16_t code : {int16_t(-1), int16_t(5), int16_t(32767), int16_t(-32768)})
        open(code);
    EXPECT_TRUE(fake.process.started.empty());
    EXPECT_TRUE(fake.automation.log.isEmpty());
    EXPECT_TRUE(fake.files.queried.isEmpty());
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(BrowserLaunchTest, InternetExplorerWaitsBeforeNavigatingThenShowsItself) {
    open(0);
    EXPECT_EQ(fake.automation.log, QStringList({"create InternetExplorer.Application",
                                                "Navigate " + kUrl, "Visible 1", "release"}));
    EXPECT_GE(fake.automation.navigatedAt - fake.automation.createdAt, 800);
    EXPECT_TRUE(fake.process.started.empty());
}

TEST_F(BrowserLaunchTest, ABrowserThatCannotStartIsNamedInANotice) {
    fake.process.startSucceeds = false;
    open(1);
    open(3);
    fake.files.existing = {kSharedChrome};
    open(4);
    fake.automation.canCreate = false;
    open(0);
    ASSERT_EQ(fake.messages.shown.size(), 4u);
    const QString texts[] = {"Firefox を起動できませんでした。", "Opera を起動できませんでした。",
                             "Google Chrome を起動できませんでした。",
                             "Internet Explorer を起動できませんでした。"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(fake.messages.shown[i].title, "メッセージ");
        EXPECT_EQ(fake.messages.shown[i].text, texts[i]);
        EXPECT_FALSE(fake.messages.shown[i].question);
    }
    EXPECT_TRUE(fake.events.waits.empty()) << "no wait for an object that does not exist";
    EXPECT_EQ(fake.programEnd.ended, 0);
}

// Advances the clock by at most 300 ms a call, as a wait cut short by an event would.
class EarlyWakingPump : public EventPump {
public:
    explicit EarlyWakingPump(FakeClock& clock) : clock_(clock) {}
    void processPending() override {}
    void waitForEvents(int maxMs) override {
        waits.push_back(maxMs);
        clock_.now += std::min(maxMs, 300);
    }
    std::vector<int> waits;

private:
    FakeClock& clock_;
};

TEST(SubWait, WaitsOutTheRestAfterEveryEarlyWakeUp) {
    FakeClock clock;
    EarlyWakingPump pump(clock);
    clock.now = 5000;
    subWait(800, clock, pump);
    EXPECT_EQ(clock.now, 5800);
    EXPECT_EQ(pump.waits, std::vector<int>({800, 500, 200}));

    pump.waits.clear();
    subWait(0, clock, pump);
    subWait(-5, clock, pump);
    EXPECT_TRUE(pump.waits.empty());
}

// Real process start, file test and automation object with stub browsers; the rest fake.
class BrowserLaunchOnLinuxTest : public testing::Test, protected StubbedPlatform {
protected:
    void open(int16_t code, const QString& url) {
        store.browser = code;
        BrowserLaunch(store, browserPlatform(platform)).openInBrowser(url);
    }

    UrlStore store;
};

TEST_F(BrowserLaunchOnLinuxTest, EveryBrowserReceivesTheUrlSplitAtItsBlanks) {
    for (const char* name : {"firefox", "epiphany-browser", "opera", "google-chrome", "xdg-open"})
        stubs.install(name);
    stubs.installPerUser("google-chrome");
    const QString url = QStringLiteral("http://example.com/a b?x=1&y=2");
    const QStringList split = {"http://example.com/a", "b?x=1&y=2"};

    open(1, url);
    EXPECT_EQ(stubs.takeArguments("firefox"), split);
    open(2, url);
    EXPECT_EQ(stubs.takeArguments("epiphany-browser"), split);
    open(3, url);
    EXPECT_EQ(stubs.takeArguments("opera"), split);
    open(4, url);
    EXPECT_EQ(stubs.takeArguments("per-user-google-chrome"), split);
    QFile::remove(stubs.home() + "/.local/bin/google-chrome");
    open(4, url);
    EXPECT_EQ(stubs.takeArguments("google-chrome"), split);
    open(0, url);
    EXPECT_EQ(stubs.takeArguments("xdg-open"), QStringList({url})) << "Navigate takes it whole";
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(BrowserLaunchOnLinuxTest, MissingBrowsersAreExplainedExceptChromeAtNeitherPlace) {
    open(1, "http://x/");
    open(2, "http://x/");
    open(0, "http://x/");
    open(4, "http://x/");
    ASSERT_EQ(fake.messages.shown.size(), 3u);
    EXPECT_EQ(fake.messages.shown[0].text, "Firefox を起動できませんでした。");
    EXPECT_EQ(fake.messages.shown[1].text, "Safari を起動できませんでした。");
    EXPECT_EQ(fake.messages.shown[2].text, "Internet Explorer を起動できませんでした。");
}

}  // namespace
