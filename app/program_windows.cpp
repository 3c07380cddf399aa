#include "app/program_windows.h"

#include <utility>

#include "app/form1.h"
#include "app/form2.h"
#include "app/form3.h"

namespace velandri {

ProgramWindows::ProgramWindows(UrlStore& store, SharedValues& shared, Platform& platform,
                               StoreIo& storeIo, Updater& updater, Launcher& launcher,
                               const QString& siteUrl)
    : store_(store),
      shared_(shared),
      platform_(platform),
      form1_(std::make_unique<Form1>(store, shared,
                                     Form1Platform{.messages = platform.messages,
                                                   .process = platform.process,
                                                   .events = platform.events,
                                                   .windows = platform.windows,
                                                   .tray = platform.tray},
                                     storeIo, updater, launcher, siteUrl)),
      form2_(std::make_unique<Form2>(store, shared, platform.messages, storeIo)) {
    connectMainWindow();
    connectPasswordWindow();
    connectTray();
}

ProgramWindows::~ProgramWindows() = default;

void ProgramWindows::connectMainWindow() {
    Form1* form1 = form1_.get();
    connect(form1, &FormWindow::loadFinished, this, [this] { bringToFrontIfWaiting(); });
    connect(form1, &FormWindow::endRequested, this, [this] { end(); });
    connect(form1, &Form1::passwordWindowWanted, this, [this] { showPasswordWindow(); });
    connect(form1, &Form1::settingsWanted, this, [this] { form3().Show(); });
}

void ProgramWindows::connectPasswordWindow() {
    connect(form2_.get(), &FormWindow::endRequested, this, [this] { end(); });
    connect(form2_.get(), &Form2::gateOpened, this, [this] { openGate(); });
}

void ProgramWindows::connectTray() {
    connect(&platform_.tray, &TrayIcon::leftReleased, this, [this] { trayIconReleased(); });
    connect(&platform_.tray, &TrayIcon::rightPressed, this, [this] { form1_->iconRightPress(); });
}

Form3& ProgramWindows::form3() {
    if (!form3_) {
        form3_ = std::make_unique<Form3>(store_, shared_, platform_.messages, platform_.windows);
        connectSettingsWindow();
    }
    return *form3_;
}

void ProgramWindows::connectSettingsWindow() {
    connect(form3_.get(), &Form3::settingsApplied, this, [this] { form1_->front(); });
    connect(form3_.get(), &Form3::mainWindowWanted, this, [this] { returnToMainWindow(); });
}

void ProgramWindows::start() {
    starting_ = true;
    form2_->start();
    starting_ = false;
    bringToFrontIfWaiting();
}

bool ProgramWindows::loading() const { return starting_ || form1_->isLoading(); }

void ProgramWindows::bringToFrontIfWaiting() {
    if (bringToFrontWaiting_) bringToFront();
}

void ProgramWindows::bringToFront() {
    bringToFrontWaiting_ = loading();
    if (!bringToFrontWaiting_) bringToFrontNow();
}

void ProgramWindows::bringToFrontNow() {
    QWidget* window = form2_.get();
    if (!window->isVisible()) {
        if (!form1_->isVisible() || form1_->isMinimized()) form1_->iconLeftRelease();
        window = form1_.get();
    }
    window->raise();
    window->activateWindow();
}

// Nothing of the run stays usable at the locked screen: an open question is answered No, and
// the settings window, which can remove the password, is hidden with the main window.
void ProgramWindows::showPasswordWindow() {
    platform_.messages.closeOpen();
    settingsHiddenAtLogOff_ = settingsHiddenAtLogOff_ || (form3_ && form3_->isVisible());
    if (form3_) form3_->hide();
    form2_->Show();
    form2_->clearPassword();
}

void ProgramWindows::openGate() {
    if (std::exchange(trayLeftWhileLocked_, false))
        form1_->iconLeftRelease();
    else
        form1_->Show();
    if (!settingsHiddenAtLogOff_) return;
    settingsHiddenAtLogOff_ = false;
    form3_->Show();
}

void ProgramWindows::returnToMainWindow() {
    if (form1_->isVisible()) form1_->activateWindow();
}

// While logged off the icon brings back the password window: a click on it must not get
// round the password.
void ProgramWindows::trayIconReleased() {
    if (!form2_->isVisible()) {
        form1_->iconLeftRelease();
        return;
    }
    form1_->leaveTray();
    trayLeftWhileLocked_ = true;
    form2_->Show();
}

void ProgramWindows::end() {
    if (ending_) return;
    ending_ = true;
    form1_->Form_Unload();
    form2_->Unload();
    if (form3_) form3_->Unload();
    form1_->Unload();
    emit ended();
}

}  // namespace velandri
