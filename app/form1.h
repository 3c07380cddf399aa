#pragma once

#include <QTimer>
#include <array>

#include "app/form1_controls.h"
#include "app/form_window.h"
#include "app/launcher.h"
#include "app/logic/main_window_session.h"
#include "app/logic/shared_values.h"
#include "app/search_bar.h"
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
class Form1 : public FormWindow, private SearchedWindow {
    Q_OBJECT

public:
    Form1(UrlStore& store, SharedValues& shared, Form1Platform platform, StoreIo& storeIo,
          Updater& updater, Launcher& launcher, QString siteUrl);

    // Top-most mode as the store sets it.
    void front();
    // The notification-area icon: the left button released, the right button pressed.
    void iconLeftRelease();
    void iconRightPress();
    // The icon given up while the window stays hidden: the password window comes first, and
    // iconLeftRelease shows the window once the gate opens.
    void leaveTray();
    void Form_Unload();
    // The ticks of the tray timer and the log-off timer.
    void Timer1_Timer();
    void Timer2_Timer();
    // The outer height the current mode asks for.
    int modeHeightTwips() const;
    const MainWindowSession& session() const { return session_; }

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
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload() override;
    void Form_Resize();
    void url_road(int tab);
    void moveEntry(int direction);
    void List1_Click();
    void List1_DblClick();
    void TabStrip1_Change();
    void Command1_Click(int index);
    void Text1_Change();
    bool save();
    void subOpenIE(const QString& url);
    void アイコン化処理();
    void menuEnd_Click();

    // What the search bar uses.
    bool inEditMode() const override;
    int selectedRow() const override;
    void setRowButtons(bool enabled) override;
    void showCurrentTab() override;
    // The selected tab's caption labels the list for screen readers.
    void nameListAfterSelectedTab() override;
    // What a double-click does, for any listed slot of any tab: the log-off time restarts and
    // the slot's URL opens. Nothing happens for a slot that is not listed.
    void openEntry(int tab, int slot) override;
    // The tab selected and the slot's row selected in its list, as a click on it does.
    void showEntry(int tab, int slot) override;

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
    EditRowText editRowText() const;
    void showRowButtons();
    void logOff();
    void openSettings();
    void exitProgram();
    void commitEditRow();
    void deleteSelected();
    void leaveEditMode();
    void correctSelected();
    void openHomePage();
    bool askToDiscard();
    bool askToDiscardEdits();
    void emptyEditRow();
    void setTabCaptions();
    void showMode();
    void applyModeHeight();
    int nonClientTwips() const;
    void centre();
    void minimize();
    void showPasswordWindow();
    int currentTab() const;

    QTabBar* TabStrip1;
    QListWidget* List1;
    std::array<QPushButton*, kCommandCount> Command1{};
    QFrame* Line1;
    std::array<QLabel*, 3> Label1{};
    std::array<QLineEdit*, kEditBoxCount> Text1{};
    QTimer Timer1{this};
    QTimer Timer2{this};
    QMenu* Menu;
    QAction* menuEnd;

    UrlStore& store_;
    SharedValues& shared_;
    Form1Platform platform_;
    StoreIo& storeIo_;
    Updater& updater_;
    Launcher& launcher_;
    QString siteUrl_;
    MainWindowSession session_;
    SearchBar* searchBar_ = nullptr;
};

}  // namespace velandri
