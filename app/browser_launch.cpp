#include "app/browser_launch.h"

#include "app/message_titles.h"
#include "platform/designed_programs.h"
#include "store/text.h"

namespace velandri {

namespace {

enum BrowserCode { kInternetExplorer = 0, kFirefox, kSafari, kOpera, kChrome };

}  // namespace

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
    switch (store_.browser) {
        case kInternetExplorer:
            if (!navigateInternetExplorer(url))
                reportNotStarted(QStringLiteral("Internet Explorer"));
            break;
        case kFirefox:
            if (!startCommandLine(DesignedProgram::firefox, url))
                reportNotStarted(QStringLiteral("Firefox"));
            break;
        case kSafari:
            if (!startCommandLine(DesignedProgram::safari, url))
                reportNotStarted(QStringLiteral("Safari"));
            break;
        case kOpera:
            if (!startCommandLine(DesignedProgram::opera, url))
                reportNotStarted(QStringLiteral("Opera"));
            break;
        case kChrome:
            openInChrome(url);
            break;
        default:
            break;
    }
}

// The object is released when it goes out of scope; the browser window stays open on its own.
bool BrowserLaunch::navigateInternetExplorer(const QString& url) {
    const auto browser =
        platform_.automation.create(QStringLiteral("InternetExplorer.Application"));
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

// The user name is read afresh at each call: once for the file test, once for the command line.
QString BrowserLaunch::perUserChromePath() {
    return DesignedProgram::usersFolder + trim(getUserName(platform_.user)) +
           DesignedProgram::perUserChromeTail;
}

// A Chrome found at neither place starts nothing and shows nothing: choosing it in the settings
// window already said that it must be installed in its standard folder.
void BrowserLaunch::openInChrome(const QString& url) {
    QString programPath;
    if (platform_.files.programExists(perUserChromePath())) {
        programPath = perUserChromePath();
    } else if (platform_.files.programExists(DesignedProgram::sharedChrome)) {
        programPath = DesignedProgram::sharedChrome;
    } else {
        return;
    }
    if (!startCommandLine(programPath, url)) reportNotStarted(QStringLiteral("Google Chrome"));
}

void BrowserLaunch::reportNotStarted(const QString& browserName) {
    platform_.messages.notice(kMessageTitle,
                              browserName + QStringLiteral(" を起動できませんでした。"));
}

}  // namespace velandri
