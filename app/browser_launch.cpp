#include "app/browser_launch.h"

#include "app/message_titles.h"
#include "store/text.h"

namespace velandri {

QString getUserName(UserInfo& user) { return user.userName(); }

void subWait(int ms, Clock& clock, EventPump& events) {
    const qint64 start = clock.milliseconds();
    qint64 elapsed = clock.milliseconds() - start;
    while (elapsed < ms) {
        events.waitForEvents(static_cast<int>(ms - elapsed));
        elapsed = clock.milliseconds() - start;
    }
}

BrowserPlatform browserPlatform(Platform& platform) {
    return {platform.automation, platform.clock, platform.events,  platform.process,
            platform.files,      platform.user,  platform.messages};
}

BrowserLaunch::BrowserLaunch(const UrlStore& store, BrowserPlatform platform)
    : store_(store), platform_(platform) {}

void BrowserLaunch::openInBrowser(const QString& url) {
    const Browser* browser = browserByCode(store_.browser);
    if (!browser) return;
    const ProgramStandIn& first = browser->programs.front();
    switch (browser->reach) {
        case BrowserReach::Automation:
            if (!navigate(first.designed, url)) reportNotStarted(*browser);
            break;
        case BrowserReach::FixedPath:
            if (!startCommandLine(first.designed, url)) reportNotStarted(*browser);
            break;
        case BrowserReach::FirstInstalled:
            openFirstInstalled(*browser, url);
            break;
    }
}

// The object is released when it goes out of scope; the browser window stays open on its own.
bool BrowserLaunch::navigate(const QString& className, const QString& url) {
    const auto browser = platform_.automation.create(className);
    if (!browser) return false;
    subWait(800, platform_.clock, platform_.events);
    if (!browser->Navigate(url)) return false;
    browser->setVisible(true);
    return true;
}

// The path ends in one blank and the URL follows as stored: no quotes, nothing escaped.
bool BrowserLaunch::startCommandLine(const QString& programPath, const QString& url) {
    return platform_.process.start(programPath + u' ' + url, WindowStyle::NormalFocus);
}

// A per-user path reads the user name afresh at each call: once for the file test, once for
// the command line.
QString BrowserLaunch::pathOf(const ProgramStandIn& program) {
    if (!program.designed.contains(kUserNameMarker)) return program.designed;
    return designedPath(program, trim(getUserName(platform_.user)));
}

// A browser found at none of its places starts nothing and shows nothing: choosing it in the
// settings window already said that it must be installed in its standard folder.
void BrowserLaunch::openFirstInstalled(const Browser& browser, const QString& url) {
    for (const ProgramStandIn& program : browser.programs) {
        if (!platform_.files.programExists(pathOf(program))) continue;
        if (!startCommandLine(pathOf(program), url)) reportNotStarted(browser);
        return;
    }
}

void BrowserLaunch::reportNotStarted(const Browser& browser) {
    platform_.messages.notice(kMessageTitle,
                              browser.caption + QStringLiteral(" を起動できませんでした。"));
}

}  // namespace velandri
