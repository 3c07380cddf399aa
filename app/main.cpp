#include <QApplication>
#include <cstdio>

#include "app/browser_launch.h"
#include "app/data_file_store.h"
#include "app/download_window.h"
#include "app/logic/failure_texts.h"
#include "app/program_windows.h"
#include "app/session_keeper.h"
#include "platform/linux/display_probe.h"
#include "platform/linux/font_configuration_ahead.h"
#include "platform/linux/linux_platform.h"
#include "platform/linux/linux_session_end.h"
#include "platform/linux/qt_japanese_texts.h"
#include "platform/running_copy.h"
#include "store/url_store.h"
#include "update/site_updater.h"

using namespace velandri;

namespace {

// Qt would abort without a display; say instead what is missing.
int reportNoDisplay(const std::string& problem) {
    std::fprintf(
        stderr,
        "velandri: a graphical desktop (X11 or Wayland) is needed, but none was found: %s\n",
        problem.c_str());
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    // The main window's first text needs it some milliseconds from now.
    const FontConfigurationAhead fonts;
    const DisplayChoice display = chooseDisplayPlatform();
    if (!display.found) return reportNoDisplay(display.problem);
    QApplication app(argc, argv);
    installQtJapaneseTexts(app);
    // Hidden windows (tray, log-off) are not an end: the program ends when the windows are
    // unloaded, which ProgramWindows reports.
    QApplication::setQuitOnLastWindowClosed(false);

    const DataPaths paths = LinuxPlatform::dataPaths();
    SingleInstance instance(paths.dataFolder);
    if (!instance.claim()) return 0;

    // An update is installed only when this key's signature holds for it.
    LinuxPlatform linuxPlatform(QByteArrayLiteral(VELANDRI_UPDATE_PUBLIC_KEY));
    // The version check follows within milliseconds, inside the main window's load.
    linuxPlatform.startHttpHelperAhead();
    Platform platform = linuxPlatform.platform();
    UrlStore store;
    SharedValues shared;
    DataFileStore storeIo(paths);
    // Read while the windows are built; the password window's load takes it.
    storeIo.loadAhead();
    DownloadWindowOnDemand downloadWindow;
    const QString siteUrl = QStringLiteral(VELANDRI_SITE_URL);
    FailureNoticeBox failureNotices(platform.messages);
    SiteUpdater updater(
        {platform.http, platform.zip, platform.signatures, platform.files, platform.process,
         platform.messages, failureNotices, platform.events, platform.programEnd},
        paths, siteUrl, downloadWindow);
    BrowserLaunch launcher(store, browserPlatform(platform));

    ProgramWindows windows(store, shared, platform, storeIo, updater, launcher, siteUrl);
    QObject::connect(&windows, &ProgramWindows::ended, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    QObject::connect(&instance, &SingleInstance::activationRequested, &app,
                     [&windows] { windows.bringToFront(); });
    windows.start();
    // From the loaded store on, the end of the desktop session keeps the run.
    LinuxSessionEnd sessionEnd;
    SessionKeeper keeper(store, storeIo, sessionEnd, windows);
    return app.exec();
}
