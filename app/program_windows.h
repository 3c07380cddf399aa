#pragma once

#include <QString>
#include <memory>

#include "app/launcher.h"
#include "app/store_io.h"
#include "platform/platform.h"
#include "store/url_store.h"
#include "update/updater.h"

class Form1;
class Form2;
class Form3;

// The three windows of one run, wired to each other. Form1 emits ended() when the last window
// is unloaded.
class ProgramWindows {
public:
    ProgramWindows(UrlStore& store, SharedValues& shared, Platform& platform, StoreIo& storeIo,
                   Updater& updater, Launcher& launcher, const QString& siteUrl);
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    // The password window is the start-up object: it loads the store and opens the gate.
    void start();
    // A second start shows the window the user would look for: the password window while it
    // waits, otherwise the main window, back from the tray or the taskbar. Asked while a load
    // runs, it waits until the load has finished.
    void bringToFront();

    Form1& form1() { return *form1_; }
    Form2& form2() { return *form2_; }
    Form3& form3() { return *form3_; }

private:
    bool loading() const;
    void bringToFrontIfWaiting();
    void bringToFrontNow();

    std::unique_ptr<Form1> form1_;
    std::unique_ptr<Form2> form2_;
    std::unique_ptr<Form3> form3_;
    bool starting_ = false;
    bool bringToFrontWaiting_ = false;
};
