#pragma once

#include <QString>

#include "app/launcher.h"
#include "platform/platform.h"
#include "store/url_store.h"

// The login name of the current user, as the system gives it.
QString getUserName(UserInfo& user);

// Returns after at least ms milliseconds, letting window events run meanwhile.
void subWait(int ms, Clock& clock, EventPump& events);

// Opens a URL in the browser that `browser` names: Internet Explorer through its automation
// object, the others by their command lines at the standard installation paths.
class BrowserLaunch : public Launcher {
public:
    BrowserLaunch(const UrlStore& store, Platform& platform);
    void openInBrowser(const QString& url) override;

private:
    bool navigateInternetExplorer(const QString& url);
    bool startCommandLine(const QString& programPath, const QString& url);
    QString perUserChromePath();
    void openInChrome(const QString& url);
    void reportNotStarted(const QString& browserName);

    const UrlStore& store_;
    Platform& platform_;
};
