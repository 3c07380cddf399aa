#include "app/program_windows.h"

#include "app/form1.h"
#include "app/form2.h"
#include "app/form3.h"

ProgramWindows::ProgramWindows(UrlStore& store, SharedValues& shared, Platform& platform,
                               StoreIo& storeIo, Updater& updater, Launcher& launcher,
                               const QString& siteUrl)
    : form1_(std::make_unique<Form1>(store, shared, platform, storeIo, updater, launcher, siteUrl)),
      form2_(std::make_unique<Form2>(store, shared, platform, storeIo)),
      form3_(std::make_unique<Form3>(store, shared, platform)) {
    form1_->setForms(form2_.get(), form3_.get());
    form2_->setForms(form1_.get(), form3_.get());
    form3_->setForms(form1_.get(), form2_.get());
    QObject::connect(form1_.get(), &FormWindow::loadFinished, form1_.get(),
                     [this] { bringToFrontIfWaiting(); });
}

ProgramWindows::~ProgramWindows() = default;

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
