#include "platform/linux/linux_platform.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include "platform/linux/default_browser_automation.h"
#include "platform/linux/helper_http.h"
#include "platform/linux/immediate_program_end.h"
#include "platform/linux/linux_files.h"
#include "platform/linux/linux_process.h"
#include "platform/linux/linux_user.h"
#include "platform/linux/module_signature.h"
#include "platform/linux/module_zip.h"
#include "platform/linux/monotonic_clock.h"
#include "platform/linux/qt_event_pump.h"
#include "platform/linux/qt_message_box.h"
#include "platform/linux/qt_tray_icon.h"
#include "platform/linux/qt_window_system.h"

namespace velandri {

namespace {

// The helper program and the module are installed beside the program.
QString programFile(const QString& name) {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
}

}  // namespace

struct LinuxPlatform::Parts {
    explicit Parts(QByteArray updatePublicKey)
        : signatures(programFile(QStringLiteral("modules/velandri-signature.so")),
                     std::move(updatePublicKey)) {}

    LinuxProcessStarter process;
    LinuxFileSystem files;
    LinuxUserInfo user;
    MonotonicClock clock;
    QtEventPump events;
    DefaultBrowserAutomation automation{process};
    HelperHttpClient http{programFile(QStringLiteral("velandri-http"))};
    ModuleZipExtractor zip{programFile(QStringLiteral("modules/velandri-zip.so"))};
    ModuleSignatureVerifier signatures;
    ImmediateProgramEnd programEnd;
    QtMessageBox messages;
    QtWindowSystem windows;
    QtTrayIcon tray;
};

LinuxPlatform::LinuxPlatform(QByteArray updatePublicKey)
    : parts_(std::make_unique<Parts>(std::move(updatePublicKey))) {}

void LinuxPlatform::startHttpHelperAhead() { parts_->http.startAhead(); }

LinuxPlatform::~LinuxPlatform() = default;

Platform LinuxPlatform::platform() {
    Parts& p = *parts_;
    return Platform{.process = p.process,
                    .files = p.files,
                    .user = p.user,
                    .clock = p.clock,
                    .events = p.events,
                    .automation = p.automation,
                    .http = p.http,
                    .zip = p.zip,
                    .signatures = p.signatures,
                    .programEnd = p.programEnd,
                    .messages = p.messages,
                    .windows = p.windows,
                    .tray = p.tray};
}

DataPaths LinuxPlatform::dataPaths() {
    // GenericDataLocation is $XDG_DATA_HOME, or ~/.local/share when it is unset.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return {dataHome + QStringLiteral("/Velandri"), QCoreApplication::applicationDirPath()};
}

}  // namespace velandri
