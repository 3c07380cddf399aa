#pragma once

#include <QTimer>
#include <array>

#include "app/form_window.h"
#include "app/launcher.h"
#include "app/logic/shared_values.h"
#include "app/store_io.h"
#include "platform/event_pump.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/tray.h"
#include "platform/window_system.h"
#include "store/tab_edits.h"
#include "store/url_store.h"
#include "update/updater.h"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTabBar;

namespace velandri {

// The parts of the platform the main window uses.
struct Form1Platform {
    MessageBox& messages;
    ProcessStarter& process;
    EventPump& events;
    WindowSystem& windows;
    TrayIcon& tray;
};

// The main window: the tab strip, the list of the current tab, the command buttons, the edit
// row, and the tray icon, top-most mode and automatic log-off.
class Form1 : public FormWindow {
    Q_OBJECT

public:
    Form1(UrlStore& store, SharedValues& shared, Form1Platform platform, StoreIo& storeIo,
          Updater& updater, Launcher& launcher, QString siteUrl);

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize();
    void url_road(int tab);
    void moveEntry(int direction);
    void List1_Click();
    void List1_DblClick();
    // What a double-click does, for any listed slot of any tab: the log-off time restarts and
    // the slot's URL opens. Nothing happens for a slot that is not listed.
    void openEntry(int tab, int slot);
    // The tab selected and the slot's row selected in its list, as a click on it does.
    void showEntry(int tab, int slot);
    // "↑", "↓", "修正" and "削除", which act on the selected row of the current tab.
    void setSelectionButtons(bool enabled);
    void TabStrip1_Change();
    void Command1_Click(int index);
    void Text1_Change();
    void Form_QueryUnload() override;
    void Form_Unload();
    bool save();
    void subOpenIE(const QString& url);
    void front();
    void アイコン化処理();
    void Timer1_Timer();
    void Timer2_Timer();
    void menuEnd_Click();
    // The notification-area icon: the left button released, the right button pressed.
    void iconLeftRelease();
    void iconRightPress();
    // The icon given up while the window stays hidden: the password window comes first, and
    // iconLeftRelease shows the window once the gate opens.
    void leaveTray();

    int currentTab() const;
    int selectedRow() const;
    int modeHeightTwips() const { return modeHeightTwips_; }
    bool inEditMode() const;

    QTabBar* TabStrip1;
    QListWidget* List1;
    std::array<QPushButton*, 11> Command1{};
    QFrame* Line1;
    std::array<QLabel*, 3> Label1{};
    std::array<QLineEdit*, 3> Text1{};
    QTimer Timer1;
    QTimer Timer2;
    QMenu* Menu;
    QAction* menuEnd;
    bool urlChanged = false;

signals:
    // Log-off: the window has hidden itself and the password window is due.
    void passwordWindowWanted();
    void settingsWanted();

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // The window manager's close request is refused, as the missing close box is.
    CloseRequest closeRequest() const override { return CloseRequest::Refused; }
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createControls();
    void createTabsAndList();
    void createButtons();
    void createEditRow();
    void createTimersAndMenu();
    bool refuseWhenFull();
    void enterEditMode();
    bool enterEditModeWithLink(const QString& url, const QString& title);
    void orderEditRowFocus();
    void setEditRowReachable(bool reachable);
    std::array<QWidget*, 5> editRow() const;
    void logOff();
    void openSettings();
    void exitProgram();
    void commitEditRow();
    void deleteSelected();
    void leaveEditMode();
    void correctSelected();
    void openHomePage();
    bool askToDiscardEdits();
    void emptyEditRow();
    void setTabCaptions();
    void nameListAfterSelectedTab();
    void setModeHeight(int twips);
    void applyModeHeight();
    int nonClientTwips() const;
    void centre();
    void minimize();
    void showPasswordWindow();
    TabSlots& currentSlots();

    UrlStore& store_;
    SharedValues& shared_;
    Form1Platform platform_;
    StoreIo& storeIo_;
    Updater& updater_;
    Launcher& launcher_;
    QString siteUrl_;
    int modeHeightTwips_ = 0;
};

}  // namespace velandri
