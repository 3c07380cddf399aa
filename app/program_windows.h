#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "app/launcher.h"
#include "app/logic/shared_values.h"
#include "app/store_io.h"
#include "platform/platform.h"
#include "store/url_store.h"
#include "update/updater.h"

namespace velandri {

class Form1;
class Form2;
class Form3;

// The windows of one run and everything between them: which window follows which, and the
// program's end. The settings window is made when it is first wanted.
class ProgramWindows : public QObject {
    Q_OBJECT

public:
    ProgramWindows(UrlStore& store, SharedValues& shared, Platform& platform, StoreIo& storeIo,
                   Updater& updater, Launcher& launcher, const QString& siteUrl);
    ~ProgramWindows() override;

    // The password window is the start-up object: it loads the store and opens the gate.
    void start();
    // A second start shows the window the user would look for: the password window while it
    // waits, otherwise the main window, back from the tray or the taskbar. Asked while a load
    // runs, it waits until the load has finished.
    void bringToFront();

    Form1& form1() { return *form1_; }
    Form2& form2() { return *form2_; }
    Form3& form3();
    // Closing any window, "終了", the tray menu or the end of the session: the tray icon goes,
    // then every window.
    void end();

signals:
    // Every window was unloaded: the program ends.
    void ended();

private:
    void connectMainWindow();
    void connectPasswordWindow();
    void connectTray();
    void connectSettingsWindow();
    bool loading() const;
    void bringToFrontIfWaiting();
    void bringToFrontNow();
    void showPasswordWindow();
    void openGate();
    void returnToMainWindow();
    void trayIconReleased();

    UrlStore& store_;
    SharedValues& shared_;
    Platform& platform_;
    std::unique_ptr<Form1> form1_;
    std::unique_ptr<Form2> form2_;
    std::unique_ptr<Form3> form3_;
    bool starting_ = false;
    bool bringToFrontWaiting_ = false;
    bool ending_ = false;
    // The settings window was open at the log-off: it comes back when the gate opens.
    bool settingsHiddenAtLogOff_ = false;
    // The tray icon was clicked at the locked screen: the gate opens to the restored window.
    bool trayLeftWhileLocked_ = false;
};

}  // namespace velandri
