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

#include "app/logic/dropped_link.h"
#include "app/logic/entry_edits.h"
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
constexpr int kEditModeFromTwips = 4001;
// Title bar and frame of the designed platform. A measured frame is bounded so that the list
// mode always shows the whole button row and none of the edit row, and the edit mode shows
// the whole edit row.
constexpr int kDefaultNonClientTwips = 465;
constexpr int kLeastNonClientTwips = 355;
constexpr int kMostNonClientTwips = 580;
constexpr int kDesignedTabs = 2;
constexpr int kUrlBox = 1;  // the only edit box without a length limit
constexpr int kTrayTimerMs = 60000;
constexpr int kLogoffTimerMs = 10000;

enum Command {
    kUrlSetting = 0,
    kUp = 1,
    kDown = 2,
    kLogOff = 3,
    kSettings = 4,
    kExit = 5,
    kCommit = 6,
    kDelete = 7,
    kBack = 8,
    kCorrect = 9,
    kHomePage = 10,
};

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

// Names the characters of a title or content that the data file will keep as "?".
QString unstorableNotice(const QString& unstorable) {
    return QStringLiteral(
               "次の文字はデータファイルに保存できないため、「?」に置き換えて登録します。\r\n") +
           unstorable;
}

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

QString discardQuestion() {
    return QStringLiteral(
        "URL情報が変更されています。登録せずに終了しますか？\r\n"
        "（登録する場合は、完了ボタンを押して下さい。）");
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
      siteUrl_(std::move(siteUrl)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(programIcon());
    setFont(windowFont());
    createControls();
    createTimersAndMenu();
    // Last, so that its filters on the list see keys and double-clicks first.
    new SearchBar(*this, store_, platform_.windows);
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
    setSelectionButtons(false);
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
    setModeHeight(kListModeTwips);
    url_road(0);
    if (flagOn(store_.topMost)) front();
    while (TabStrip1->count() < kTabCount) TabStrip1->addTab(QString());
    setTabCaptions();
    if (isBlank(store_.password)) Command1[kLogOff]->setEnabled(false);
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

void Form1::setModeHeight(int twips) {
    modeHeightTwips_ = twips;
    setEditRowReachable(inEditMode());
    applyModeHeight();
}

// The mode heights are outer heights, title bar and frame included.
void Form1::applyModeHeight() {
    const QSize client(twipsToPixelsX(this, kClientWidthTwips),
                       twipsToPixelsY(this, modeHeightTwips_ - nonClientTwips()));
    if (size() != client) resize(client);
    Form_Resize();
}

int Form1::nonClientTwips() const {
    const int measured = frameGeometry().height() - geometry().height();
    if (measured <= 0) return kDefaultNonClientTwips;
    return std::clamp(pixelsToTwipsY(this, measured), kLeastNonClientTwips, kMostNonClientTwips);
}

bool Form1::inEditMode() const { return modeHeightTwips_ >= kEditModeFromTwips; }

int Form1::currentTab() const { return std::clamp(TabStrip1->currentIndex(), 0, kTabCount - 1); }

int Form1::selectedRow() const {
    const QList<QListWidgetItem*> items = List1->selectedItems();
    return items.isEmpty() ? -1 : List1->row(items.first());
}

TabSlots& Form1::currentSlots() { return store_.entries[currentTab()]; }

void Form1::url_road(int tab) {
    List1->clear();
    const TabSlots& tabSlots = store_.entries[std::clamp<int>(tab, 0, kTabCount - 1)];
    for (int e = 0; e < listedCount(tabSlots); ++e) List1->addItem(listLine(tabSlots[e]));
    // The user begins at the list; one walking the tabs with the arrow keys stays on them.
    if (!TabStrip1->hasFocus()) List1->setFocus();
}

void Form1::moveEntry(int direction) {
    const int s = selectedRow();
    if (!canMove(s, direction, List1->count())) return;
    const int target = s + direction;
    const int tab = currentTab();
    swapEntries(store_.entries[tab], s, target);
    url_road(tab);
    List1->setCurrentRow(target);
}

void Form1::List1_Click() {
    setSelectionButtons(true);
    emptyEditRow();
    shared_.modifyMode = EditMode::Adding;
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
    setSelectionButtons(false);
    emptyEditRow();
    shared_.modifyMode = EditMode::Adding;
}

void Form1::setSelectionButtons(bool enabled) {
    for (int index : {kUp, kDown, kDelete, kCorrect}) Command1[index]->setEnabled(enabled);
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
    if (List1->count() < kSlotCount) return false;
    platform_.messages.notice(kMessageTitle, QStringLiteral("30件以上は、登録できません。"));
    return true;
}

void Form1::enterEditMode() {
    if (refuseWhenFull()) return;
    setModeHeight(kEditModeTwips);
    Text1[0]->setFocus();
    urlChanged = false;
}

void Form1::correctSelected() {
    const int row = selectedRow();
    if (row >= 0) {
        setModeHeight(kEditModeTwips);
        const UrlEntry& entry = currentSlots()[row];
        setWholeText(Text1[0], trim(entry[UrlField::title]));
        setWholeText(Text1[1], trim(entry[UrlField::url]));
        setWholeText(Text1[2], trim(entry[UrlField::content]));
        Text1[0]->setFocus();
        shared_.modifyMode = EditMode::Correcting;
    }
    urlChanged = false;
}

void Form1::commitEditRow() {
    if (!inEditMode()) return;
    for (QLineEdit* box : {Text1[0], Text1[1]}) {
        if (isBlank(box->text())) {
            platform_.messages.notice(kMessageTitle, QStringLiteral("タイトルかURLが空欄です。"));
            return;
        }
    }
    const int slot = slotToWrite(currentSlots(), shared_.modifyMode, selectedRow());
    if (slot < 0) {
        setSelectionButtons(false);
        urlChanged = false;
        return;
    }
    const QString title = trim(Text1[0]->text());
    const QString content = trim(Text1[2]->text());
    // The address is written in an encoded form the file keeps; text for people is not.
    if (const QString lost = unstorableCharacters(title + content); !lost.isEmpty())
        platform_.messages.notice(kMessageTitle, unstorableNotice(lost));
    writeEntry(currentSlots()[slot], title, trim(Text1[1]->text()), content);
    emptyEditRow();
    setModeHeight(kListModeTwips);
    url_road(currentTab());
    setSelectionButtons(false);
    shared_.modifyMode = EditMode::Adding;
    urlChanged = false;
}

void Form1::leaveEditMode() {
    if (!askToDiscardEdits()) return;
    emptyEditRow();
    setModeHeight(kListModeTwips);
    shared_.modifyMode = EditMode::Adding;
    urlChanged = false;
}

void Form1::deleteSelected() {
    const int row = selectedRow();
    if (row < 0) return;
    const QString question =
        QString::number(row + 1) + QStringLiteral("番を削除して宜しいですか？");
    if (!platform_.messages.ask(kMessageTitle, question)) return;
    removeEntry(currentSlots(), row);
    url_road(currentTab());
    setSelectionButtons(false);
    urlChanged = false;
}

void Form1::logOff() {
    showPasswordWindow();
    urlChanged = false;
}

void Form1::showPasswordWindow() {
    hide();
    if (!isMinimized()) platform_.windows.showNormalWhenShown(this);
    emit passwordWindowWanted();
}

void Form1::openSettings() {
    emit settingsWanted();
    urlChanged = false;
}

bool Form1::askToDiscardEdits() {
    return mayDiscardEdits(
        urlChanged, [this] { return platform_.messages.ask(kInquiryTitle, discardQuestion()); });
}

void Form1::exitProgram() {
    if (!askToDiscardEdits()) return;
    if (!save()) return;
    Form_QueryUnload();
}

void Form1::openHomePage() {
    platform_.process.start(DesignedProgram::explorer + u' ' + siteUrl_,
                            WindowStyle::MinimizedFocus);
    urlChanged = false;
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
void Form1::Text1_Change() {
    urlChanged = std::any_of(Text1.begin(), Text1.end(),
                             [](const QLineEdit* box) { return !isBlank(box->text()); });
}

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
        platform_.messages.notice(kMessageTitle,
                                  QStringLiteral("URLが長すぎるため、登録できません。"));
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
    shared_.modifyMode = EditMode::Adding;
    setTypedText(Text1[0], title);
    Text1[1]->setText(url);
    Text1[2]->clear();
    return true;
}

}  // namespace velandri
