#pragma once

#include <QString>

#include "app/launcher.h"
#include "platform/browsers.h"
#include "platform/platform.h"
#include "store/url_store.h"

namespace velandri {

// The parts of the platform a browser launch uses.
struct BrowserPlatform {
    AutomationFactory& automation;
    Clock& clock;
    EventPump& events;
    ProcessStarter& process;
    FileSystem& files;
    UserInfo& user;
    MessageBox& messages;
};
BrowserPlatform browserPlatform(Platform& platform);

// The login name of the current user, as the system gives it.
QString getUserName(UserInfo& user);

// Returns after at least ms milliseconds, letting window events run meanwhile.
void subWait(int ms, Clock& clock, EventPump& events);

// Opens a URL in the browser that `browser` names, reached as its row of the browser table says:
// through its automation object, or by its command line at a standard installation path.
class BrowserLaunch : public Launcher {
public:
    BrowserLaunch(const UrlStore& store, BrowserPlatform platform);
    void openInBrowser(const QString& url) override;

private:
    bool navigate(const QString& className, const QString& url);
    bool startCommandLine(const QString& programPath, const QString& url);
    QString pathOf(const ProgramStandIn& program);
    void openFirstInstalled(const Browser& browser, const QString& url);
    void reportNotStarted(const Browser& browser);

    const UrlStore& store_;
    BrowserPlatform platform_;
};

}  // namespace velandri
