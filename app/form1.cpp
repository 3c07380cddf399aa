#include "app/form1.h"

#include <QAction>
#include <QDropEvent>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <algorithm>

#include "app/form1_controls.h"
#include "app/logic/dropped_link.h"
#include "app/logic/failure_texts.h"
#include "app/logic/list_line.h"
#include "app/logic/logoff_clock.h"
#include "app/logic/settings_steps.h"
#include "app/message_titles.h"
#include "app/program_icon.h"
#include "app/search_bar.h"
#include "app/twips.h"
#include "app/typing_limit.h"
#include "app/window_font.h"
#include "platform/designed_programs.h"
#include "platform/program_identity.h"
#include "store/stored_text.h"
#include "store/text.h"
#include "update/version.h"

namespace velandri {

namespace {

constexpr int kClientWidthTwips = 6600;
constexpr int kListModeTwips = 4000;
constexpr int kEditModeTwips = 5200;
// Title bar and frame of the designed platform. A measured frame is bounded so that the list
// mode always shows the whole button row and none of the edit row, and the edit mode shows
// the whole edit row.
constexpr int kDefaultNonClientTwips = 465;
constexpr int kLeastNonClientTwips = 355;
constexpr int kMostNonClientTwips = 580;
constexpr int kDesignedTabs = 2;
constexpr int kTrayTimerMs = 60000;

struct ControlPlace {
    int index;
    const char* caption;
    int left, top, width, height;
};

constexpr ControlPlace kButtons[] = {
    {kUrlSetting, "URL設定", 120, 3165, 885, 240},
    {kUp, "↑", 1125, 3165, 285, 255},
    {kDown, "↓", 1545, 3165, 285, 255},
    {kCorrect, "修正", 1965, 3165, 585, 255},
    {kDelete, "削除", 2685, 3165, 585, 255},
    {kLogOff, "ログオフ", 3435, 3165, 885, 255},
    {kSettings, "各種設定", 4425, 3165, 885, 255},
    {kExit, "終了", 5415, 3165, 615, 240},
    {kHomePage, "HP", 6150, 3165, 375, 240},
    {kCommit, "完了", 90, 4350, 5295, 255},
    {kBack, "戻る", 5610, 4350, 885, 240},
};

// The labels reach down to the boxes under them, so their captions are not cut.
constexpr ControlPlace kLabels[] = {
    {0, "タイトル", 750, 3765, 840, 225},
    {2, "URL", 2910, 3765, 840, 225},
    {1, "内容", 5010, 3765, 840, 225},
};

constexpr ControlPlace kBoxes[] = {
    {0, "", 105, 3990, 2100, 240},
    {1, "", 2250, 3990, 2100, 240},
    {2, "", 4365, 3990, 2100, 240},
};

// A drag that carries no link is ignored, so the pointer shows that it cannot be dropped.
void acceptOnlyLinks(QDropEvent* event) {
    if (droppedLink(*event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

int pressedKey(const QEvent* event) {
    return event->type() == QEvent::KeyPress ? static_cast<const QKeyEvent*>(event)->key() : 0;
}

}  // namespace

Form1::Form1(UrlStore& store, SharedValues& shared, Form1Platform platform, StoreIo& storeIo,
             Updater& updater, Launcher& launcher, QString siteUrl)
    : store_(store),
      shared_(shared),
      platform_(platform),
      storeIo_(storeIo),
      updater_(updater),
      launcher_(launcher),
      siteUrl_(std::move(siteUrl)),
      session_(store, shared) {
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(programIcon());
    setFont(windowFont());
    createControls();
    createTimersAndMenu();
    // Last, so that its filters on the list see keys and double-clicks first.
    searchBar_ = new SearchBar(*this, *List1, *this, store_, platform_.windows);
}

void Form1::createControls() {
    createTabsAndList();
    createButtons();
    createEditRow();
    orderEditRowFocus();
    setAcceptDrops(true);
    // The list's current line can stand without a selection (it takes the first line with the
    // focus), so Space selects without moving it: the selection is what counts.
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        if (selectedRow() >= 0) List1_Click();
    });
    connect(List1, &QListWidget::itemClicked, this, [this] { List1_Click(); });
    // Every double-click of the list counts, also one below the last line.
    List1->viewport()->installEventFilter(this);
    List1->installEventFilter(this);
    connect(TabStrip1, &QTabBar::currentChanged, this, [this] { TabStrip1_Change(); });
}

void Form1::createTabsAndList() {
    TabStrip1 = new QTabBar(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->setExpanding(false);
    TabStrip1->setDrawBase(false);
    for (int i = 0; i < kDesignedTabs; ++i) TabStrip1->addTab(QString());

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(listFont());
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    // The tab strip may need more height than designed; the list starts below it and keeps its
    // bottom edge, so no line hides under the tabs.
    const int tabHeight = std::max(twipsToPixelsY(this, 315), TabStrip1->sizeHint().height());
    TabStrip1->setGeometry(0, 0, twipsToPixelsX(this, 6615), tabHeight);
    const QRect list = twipsRect(this, 0, 240, 6615, 2790);
    List1->setGeometry(list.adjusted(0, std::max(0, tabHeight - list.top()), 0, 0));
    // The blanks that pad the content column need not be scrolled to.
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List1->setTextElideMode(Qt::ElideNone);
    connect(TabStrip1, &QTabBar::currentChanged, List1, [this] { nameListAfterSelectedTab(); });
}

void Form1::createButtons() {
    for (const ControlPlace& place : kButtons) {
        auto* button = new QPushButton(QString::fromUtf8(place.caption), this);
        button->setObjectName(QStringLiteral("Command1_%1").arg(place.index));
        button->setGeometry(twipsRect(this, place.left, place.top, place.width, place.height));
        button->setAutoDefault(false);
        Command1[place.index] = button;
        connect(button, &QPushButton::clicked, this,
                [this, i = place.index] { Command1_Click(i); });
    }
    showRowButtons();
}

void Form1::createEditRow() {
    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    Line1->setGeometry(twipsRect(this, 0, 3645 - 15, 6630, 30));

    for (const ControlPlace& place : kLabels) {
        auto* label = new QLabel(QString::fromUtf8(place.caption), this);
        label->setObjectName(QStringLiteral("Label1_%1").arg(place.index));
        label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        label->setGeometry(twipsRect(this, place.left, place.top, place.width, place.height));
        Label1[place.index] = label;
    }
    for (const ControlPlace& place : kBoxes) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Text1_%1").arg(place.index));
        box->setGeometry(twipsRect(this, place.left, place.top, place.width, place.height));
        // The URL box alone has no length limit.
        if (place.index != kUrlBox) limitTyping(box, kTextBoxLimit);
        Text1[place.index] = box;
        connect(box, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
        connect(box, &QLineEdit::returnPressed, this, [this] { Command1_Click(kCommit); });
    }
    // Screen readers name each box after the caption above it; the indices cross, as
    // Label1(2) "URL" stands over Text1(1).
    Text1[0]->setAccessibleName(Label1[0]->text());
    Text1[1]->setAccessibleName(Label1[2]->text());
    Text1[2]->setAccessibleName(Label1[1]->text());
}

// Tab walks the edit row as it reads on the screen, after the button row.
void Form1::orderEditRowFocus() {
    QWidget* previous = Command1[kHomePage];
    for (QWidget* next : editRow()) {
        QWidget::setTabOrder(previous, next);
        previous = next;
    }
}

// The edit row is out of the focus chain while it lies below the window's bottom, so no key
// reaches text the user cannot see.
void Form1::setEditRowReachable(bool reachable) {
    const std::array<QWidget*, 5> row = editRow();
    const bool focusInRow =
        std::any_of(row.begin(), row.end(), [](const QWidget* w) { return w->hasFocus(); });
    for (QWidget* widget : row) widget->setFocusPolicy(reachable ? Qt::StrongFocus : Qt::NoFocus);
    if (!reachable && focusInRow) List1->setFocus();
}

std::array<QWidget*, 5> Form1::editRow() const {
    return {Text1[0], Text1[1], Text1[2], Command1[kCommit], Command1[kBack]};
}

void Form1::createTimersAndMenu() {
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(30000);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    Timer2.setObjectName(QStringLiteral("Timer2"));
    Timer2.setInterval(kLogoffTimerMs);
    connect(&Timer2, &QTimer::timeout, this, [this] { Timer2_Timer(); });

    Menu = new QMenu(QStringLiteral("メニュー"), this);
    Menu->setObjectName(QStringLiteral("Menu"));
    menuEnd = Menu->addAction(QStringLiteral("終了"));
    menuEnd->setObjectName(QStringLiteral("menuEnd"));
    connect(menuEnd, &QAction::triggered, this, [this] { menuEnd_Click(); });
}

void Form1::Form_Load() {
    // The close box is left out and close requests are refused (closeRequest): the
    // user leaves through "終了" or the tray menu.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint);
    setWindowTitle(kProgramName + QStringLiteral("  Version") + kOwnVersion);
    showMode();
    url_road(0);
    if (flagOn(store_.topMost)) front();
    while (TabStrip1->count() < kTabCount) TabStrip1->addTab(QString());
    setTabCaptions();
    if (!passwordIsSet(store_)) Command1[kLogOff]->setEnabled(false);
    updater_.checkVersion(shared_.latestVersion);
    if (isNewerVersion(kOwnVersion, shared_.latestVersion)) updater_.subUpdate();
    // The log-off clock belongs to the loaded window: it must not run at the password gate,
    // nor tick inside the version check.
    Timer2.start();
}

void Form1::Form_Activate() {
    Command1[kLogOff]->setEnabled(keepLogoffWithPassword(store_));
    setTabCaptions();
}

void Form1::setTabCaptions() {
    for (int i = 0; i < TabStrip1->count() && i < kTabCount; ++i) {
        TabStrip1->setTabText(i, store_.tabNames[i]);
    }
    nameListAfterSelectedTab();
}

// The selected tab's caption labels the list for screen readers.
void Form1::nameListAfterSelectedTab() {
    List1->setAccessibleName(TabStrip1->tabText(TabStrip1->currentIndex()));
}

void Form1::Form_Resize() {
    if (isMinimized()) {
        Timer1.start(kTrayTimerMs);
        return;
    }
    if (isMaximized()) return;
    centre();
    Timer1.stop();
}

void Form1::centre() {
    const QRect area = screen()->geometry();
    const QRect frame = frameGeometry();
    move(area.x() + (area.width() - frame.width()) / 2,
         area.y() + (area.height() - frame.height()) / 2);
}

void Form1::showMode() {
    setEditRowReachable(session_.inEditMode());
    applyModeHeight();
}

int Form1::modeHeightTwips() const {
    return session_.inEditMode() ? kEditModeTwips : kListModeTwips;
}

// The mode heights are outer heights, title bar and frame included.
void Form1::applyModeHeight() {
    const QSize client(twipsToPixelsX(this, kClientWidthTwips),
                       twipsToPixelsY(this, modeHeightTwips() - nonClientTwips()));
    if (size() != client) resize(client);
    Form_Resize();
}

int Form1::nonClientTwips() const {
    const int measured = frameGeometry().height() - geometry().height();
    if (measured <= 0) return kDefaultNonClientTwips;
    return std::clamp(pixelsToTwipsY(this, measured), kLeastNonClientTwips, kMostNonClientTwips);
}

bool Form1::inEditMode() const { return session_.inEditMode(); }

int Form1::currentTab() const { return std::clamp(TabStrip1->currentIndex(), 0, kTabCount - 1); }

int Form1::selectedRow() const {
    const QList<QListWidgetItem*> items = List1->selectedItems();
    return items.isEmpty() ? -1 : List1->row(items.first());
}

void Form1::url_road(int tab) {
    List1->clear();
    const TabSlots& tabSlots = store_.entries[std::clamp<int>(tab, 0, kTabCount - 1)];
    for (int e = 0; e < listedCount(tabSlots); ++e) List1->addItem(listLine(tabSlots[e]));
    // The user begins at the list; one walking the tabs with the arrow keys stays on them.
    if (!TabStrip1->hasFocus()) List1->setFocus();
}

void Form1::moveEntry(int direction) {
    const int tab = currentTab();
    const int target = session_.moveSelected(tab, selectedRow(), direction, List1->count());
    if (target < 0) return;
    url_road(tab);
    List1->setCurrentRow(target);
}

void Form1::List1_Click() {
    session_.rowSelected();
    showRowButtons();
    emptyEditRow();
}

void Form1::List1_DblClick() { openEntry(currentTab(), selectedRow()); }

void Form1::openEntry(int tab, int slot) {
    shared_.logoffTicks = 0;
    if (tab < 0 || tab >= kTabCount || slot < 0 || slot >= listedCount(store_.entries[tab])) return;
    subOpenIE(store_.entries[tab][slot][UrlField::url]);
}

void Form1::showEntry(int tab, int slot) {
    if (TabStrip1->currentIndex() == tab) {
        url_road(tab);
    } else {
        TabStrip1->setCurrentIndex(tab);
    }
    List1->setCurrentRow(slot);
    List1->setFocus();
}

void Form1::TabStrip1_Change() {
    url_road(currentTab());
    session_.tabChanged();
    showRowButtons();
    emptyEditRow();
    searchBar_->tabChanged();
}

void Form1::setRowButtons(bool enabled) {
    session_.setRowButtons(enabled);
    showRowButtons();
}

void Form1::showRowButtons() {
    for (int index : {kUp, kDown, kDelete, kCorrect})
        Command1[index]->setEnabled(session_.rowButtonsEnabled());
}

void Form1::showCurrentTab() { url_road(currentTab()); }

EditRowText Form1::editRowText() const {
    return {Text1[kTitleBox]->text(), Text1[kUrlBox]->text(), Text1[kContentBox]->text()};
}

void Form1::emptyEditRow() {
    for (QLineEdit* box : Text1) box->setText(QString());
}

void Form1::Command1_Click(int index) {
    switch (index) {
        case kUrlSetting:
            enterEditMode();
            return;
        case kUp:
            return moveEntry(-1);
        case kDown:
            return moveEntry(+1);
        case kLogOff:
            return logOff();
        case kSettings:
            return openSettings();
        case kExit:
            return exitProgram();
        case kCommit:
            return commitEditRow();
        case kDelete:
            return deleteSelected();
        case kBack:
            return leaveEditMode();
        case kCorrect:
            return correctSelected();
        case kHomePage:
            return openHomePage();
        default:
            return;
    }
}

bool Form1::refuseWhenFull() {
    if (session_.canAdd(List1->count())) return false;
    platform_.messages.notice(kMessageTitle, kTabFullNotice);
    return true;
}

void Form1::enterEditMode() {
    if (refuseWhenFull()) return;
    session_.startAdding();
    showMode();
    Text1[kTitleBox]->setFocus();
}

void Form1::correctSelected() {
    if (const std::optional<EditRowText> texts =
            session_.startCorrecting(currentTab(), selectedRow())) {
        showMode();
        for (int i = 0; i < kEditBoxCount; ++i) setWholeText(Text1[i], (*texts)[i]);
        Text1[kTitleBox]->setFocus();
    }
    session_.forgetUnregisteredText();
}

void Form1::commitEditRow() {
    const EditRowText boxes = editRowText();
    const int tab = currentTab();
    switch (session_.commit(tab, selectedRow(), boxes)) {
        case CommitOutcome::NotEditing:
            return;
        case CommitOutcome::BlankTitleOrUrl:
            platform_.messages.notice(kMessageTitle, kBlankTitleOrUrlNotice);
            return;
        case CommitOutcome::NoFreeSlot:
            showRowButtons();
            return;
        case CommitOutcome::Written:
            break;
    }
    // The address is written in an encoded form the file keeps; text for people is not.
    const QString lost = unstorableCharacters(trim(boxes[kTitleBox]) + trim(boxes[kContentBox]));
    if (!lost.isEmpty()) platform_.messages.notice(kMessageTitle, unstorableNotice(lost));
    emptyEditRow();
    showMode();
    url_road(tab);
    showRowButtons();
    session_.forgetUnregisteredText();
}

void Form1::leaveEditMode() {
    if (!session_.leaveEditMode([this] { return askToDiscard(); })) return;
    emptyEditRow();
    showMode();
    session_.forgetUnregisteredText();
}

void Form1::deleteSelected() {
    const int row = selectedRow();
    const bool removed = session_.removeSelected(currentTab(), row, [this, row] {
        return platform_.messages.ask(kMessageTitle, deleteQuestion(row));
    });
    if (!removed) return;
    url_road(currentTab());
    showRowButtons();
}

void Form1::logOff() {
    showPasswordWindow();
    session_.forgetUnregisteredText();
}

void Form1::showPasswordWindow() {
    hide();
    if (!isMinimized()) platform_.windows.showNormalWhenShown(this);
    emit passwordWindowWanted();
}

void Form1::openSettings() {
    emit settingsWanted();
    session_.forgetUnregisteredText();
}

bool Form1::askToDiscard() { return platform_.messages.ask(kInquiryTitle, kDiscardQuestion); }

bool Form1::askToDiscardEdits() {
    return session_.mayDiscardEdits([this] { return askToDiscard(); });
}

void Form1::exitProgram() {
    if (!askToDiscardEdits()) return;
    if (!save()) return;
    Form_QueryUnload();
}

void Form1::openHomePage() {
    platform_.process.start(DesignedProgram::explorer + u' ' + siteUrl_,
                            WindowStyle::MinimizedFocus);
    session_.forgetUnregisteredText();
}

// A save that fails is reported and the window comes back, so nothing is lost.
bool Form1::save() {
    minimize();
    platform_.events.processPending();
    const SaveOutcome outcome = storeIo_.saveStore(store_);
    if (outcome) return true;
    showNormal();
    platform_.messages.notice(kMessageTitle, saveFailureNotice(outcome.error()));
    return false;
}

void Form1::minimize() { setWindowState(windowState() | Qt::WindowMinimized); }

// The boxes keep what is typed, blanks included; trimming applies where their texts are used.
void Form1::Text1_Change() { session_.editRowChanged(editRowText()); }

void Form1::Form_QueryUnload() { emit endRequested(); }

void Form1::Form_Unload() { platform_.tray.remove(); }

void Form1::subOpenIE(const QString& url) {
    launcher_.openInBrowser(url);
    if (flagOn(store_.minimizeOnLaunch)) minimize();
}

void Form1::front() { platform_.windows.setTopMost(this, flagOn(store_.topMost)); }

// Without a notification area the window stays minimized, so it can always be reached.
void Form1::アイコン化処理() {
    if (!platform_.tray.isAvailable()) return;
    platform_.tray.add(windowIcon(), kProgramName);
    hide();
}

void Form1::Timer1_Timer() {
    if (!isMinimized()) return;
    アイコン化処理();
    Timer1.stop();
}

void Form1::Timer2_Timer() {
    if (logoffTick(shared_.logoffTicks, store_.logoffMinutes)) showPasswordWindow();
}

void Form1::menuEnd_Click() { Form_QueryUnload(); }

void Form1::iconLeftRelease() {
    show();
    setWindowState(Qt::WindowNoState);
    leaveTray();
    activateWindow();
}

// The hidden window's state is left alone: changing it from minimized would map the window
// at once, past the password window.
void Form1::leaveTray() {
    Form_Unload();
    Timer1.stop();
}

void Form1::iconRightPress() {
    activateWindow();
    platform_.events.processPending();
    platform_.tray.popUp(Menu);
}

void Form1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) Form_Resize();
}

void Form1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

// The real frame is known only once the window is shown.
void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    QTimer::singleShot(0, this, [this] {
        if (!isMinimized() && !isMaximized()) applyModeHeight();
    });
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == List1->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        List1_DblClick();
    }
    if (watched == List1) {
        const int key = pressedKey(event);
        // Return and the keypad's Enter open the selected line as a double-click does.
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            List1_DblClick();
            return true;
        }
        // Space selects the current line. The list's own Space also searches for a line
        // starting with a blank, and every line does, so it would move on to the next.
        if (key == Qt::Key_Space) {
            if (List1->currentRow() >= 0) List1->setCurrentRow(List1->currentRow());
            return true;
        }
    }
    return FormWindow::eventFilter(watched, event);
}

void Form1::dragEnterEvent(QDragEnterEvent* event) { acceptOnlyLinks(event); }

void Form1::dragMoveEvent(QDragMoveEvent* event) { acceptOnlyLinks(event); }

void Form1::dropEvent(QDropEvent* event) {
    const std::optional<DroppedLink> link = droppedLink(*event->mimeData());
    if (!link) {
        event->ignore();
        return;
    }
    // The box would cut the address and so keep another one.
    if (link->url.size() > Text1[1]->maxLength()) {
        event->acceptProposedAction();
        platform_.messages.notice(kMessageTitle, kUrlTooLongNotice);
        return;
    }
    if (enterEditModeWithLink(link->url, link->title))
        event->acceptProposedAction();
    else
        event->ignore();
}

// A dropped link starts a new entry, as "URL設定" does; nothing is stored before "完了". Text
// in the edit row that is not registered yet is given up only as "戻る" gives it up.
bool Form1::enterEditModeWithLink(const QString& url, const QString& title) {
    if (refuseWhenFull() || !askToDiscardEdits()) return false;
    enterEditMode();
    session_.addRatherThanCorrect();
    setTypedText(Text1[kTitleBox], title);
    Text1[kUrlBox]->setText(url);
    Text1[kContentBox]->clear();
    return true;
}

}  // namespace velandri
