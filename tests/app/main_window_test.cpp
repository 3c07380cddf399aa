#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTabBar>
#include <QTest>

#include "app/logic/list_line.h"
#include "app/program_icon.h"
#include "platform/program_identity.h"
#include "window_harness.h"

using namespace velandri;

namespace {

// A harness started with the given store; no password, so the main window opens at once.
std::unique_ptr<WindowHarness> started(const UrlStore& store) {
    auto h = std::make_unique<WindowHarness>();
    h->storeIo.loaded = store;
    h->start();
    return h;
}

// Three entries in tab 1, the one in row being corrected.
std::unique_ptr<WindowHarness> correctingRow(int row) {
    auto h = started(storeWithEntries(0, 3));
    list(h->form1())->setCurrentRow(row);
    button(h->form1(), kCorrect)->click();
    return h;
}

void fillEditRow(Form1& form, const QString& title, const QString& url, const QString& content) {
    box(form, kTitleBox)->setText(title);
    box(form, kUrlBox)->setText(url);
    box(form, kContentBox)->setText(content);
}

bool selectionButtonsEnabled(Form1& form) {
    return button(form, kUp)->isEnabled() && button(form, kDown)->isEnabled() &&
           button(form, kDelete)->isEnabled() && button(form, kCorrect)->isEnabled();
}

bool selectionButtonsDisabled(Form1& form) {
    return !button(form, kUp)->isEnabled() && !button(form, kDown)->isEnabled() &&
           !button(form, kDelete)->isEnabled() && !button(form, kCorrect)->isEnabled();
}

bool editRowEmpty(Form1& form) {
    return box(form, kTitleBox)->text().isEmpty() && box(form, kUrlBox)->text().isEmpty() &&
           box(form, kContentBox)->text().isEmpty();
}

}  // namespace

TEST(MainWindowTest, LoadOrder) {
    const struct {
        const char* name;
        QString latest;
        bool updates;
    } rows[] = {
        {"1.7 is newer", "1.7", true},
        {"1.6 is ours", "1.6", false},
        {"1.5 is older", "1.5", false},
        {"none found", "", false},
        {"1.10 sorts before 1.6", "1.10", false},
    };
    for (const auto& [name, latest, updates] : rows) {
        SCOPED_TRACE(name);
        UrlStore store = storeWithEntries(0, 3);
        store.topMost = 1;
        WindowHarness h;
        h.storeIo.loaded = store;
        h.updater.answer = latest;
        h.start();

        ASSERT_EQ(h.updater.topMostCallsBeforeCheck, 1);
        ASSERT_EQ(h.fake.windows.calls.front().first, &h.form1());
        ASSERT_TRUE(h.fake.windows.calls.front().second);
        QStringList expected{"checkVersion"};
        if (updates) expected << "subUpdate";
        ASSERT_EQ(h.updater.calls, expected);
        ASSERT_EQ(h.shared.latestVersion, latest);
    }
}

TEST(MainWindowTest, LoadShowsCaptionTabsAndListOfTabZero) {
    UrlStore store = storeWithEntries(0, 3);
    store.password = QStringLiteral("   ");  // blanks only count as no password
    store.logoffMinutes = 30;
    auto h = started(store);
    Form1& form = h->form1();
    ASSERT_TRUE(!form.isVisible());  // the gate compares untrimmed
    passwordBox(h->form2())->setText(QStringLiteral("   "));

    ASSERT_TRUE(form.isVisible());
    ASSERT_TRUE(!h->form2().isVisible());
    ASSERT_EQ(form.windowTitle(), QStringLiteral("Velandri  Version") + kOwnVersion);
    ASSERT_EQ(form.windowIcon().availableSizes().size(), 7);  // the icon's pictures are built in
    ASSERT_EQ(tabs(form)->count(), 10);
    ASSERT_EQ(tabs(form)->tabText(9), QStringLiteral("tab10"));
    ASSERT_EQ(list(form)->count(), 3);
    ASSERT_EQ(selectedRow(form), -1);
    ASSERT_TRUE(!button(form, kLogOff)->isEnabled());
    ASSERT_TRUE(selectionButtonsDisabled(form));
    ASSERT_TRUE(h->fake.windows.calls.empty());  // not top-most

    activate(form);
    ASSERT_EQ(h->store.logoffMinutes, int16_t(0));
    h->store.tabNames[2] = QStringLiteral("renamed");
    activate(form);
    ASSERT_EQ(tabs(form)->tabText(2), QStringLiteral("renamed"));
}

TEST(MainWindowTest, IconIsTheSvgAtEverySize) {
    QSvgRenderer svg(QStringLiteral(VELANDRI_ICON_SVG));
    const QIcon icon = programIcon();
    for (const QSize& size : icon.availableSizes()) {
        QImage drawn(size, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        QPainter painter(&drawn);
        svg.render(&painter);
        painter.end();
        ASSERT_EQ(icon.pixmap(size).toImage().convertToFormat(drawn.format()), drawn);
    }
}

TEST(MainWindowTest, ModeHeightsShowTheRightRows) {
    auto h = started(storeWithEntries(0, 3));
    Form1& form = h->form1();
    const auto bottomOf = [](QWidget* w) { return w->geometry().bottom(); };
    ASSERT_EQ(form.modeHeightTwips(), 4000);
    ASSERT_TRUE(bottomOf(button(form, kLogOff)) < form.height());
    ASSERT_TRUE(label(form, 0)->y() >= form.height());
    ASSERT_TRUE(box(form, kTitleBox)->y() >= form.height());
    ASSERT_EQ(form.width(), qRound(6600 * form.logicalDpiX() / 1440.0));

    button(form, kUrlSetting)->click();
    ASSERT_EQ(form.modeHeightTwips(), 5200);
    ASSERT_TRUE(bottomOf(button(form, kCommit)) < form.height());
    ASSERT_TRUE(bottomOf(button(form, kBack)) < form.height());
    ASSERT_EQ(form.focusWidget(), box(form, kTitleBox));
    const QRect screen = form.screen()->geometry();
    ASSERT_EQ(form.frameGeometry().center().y(), screen.center().y());
}

TEST(MainWindowTest, ListStopsAtTheFirstEmptyUrl) {
    UrlStore store = storeWithEntries(0, 2);
    store.entries[0][5][UrlField::url] = QStringLiteral("http://after-gap/");
    auto h = started(store);
    ASSERT_EQ(list(h->form1())->count(), 2);
    ASSERT_EQ(list(h->form1())->item(1)->text(), listLine(h->store.entries[0][1]));
}

TEST(MainWindowTest, AddAnEntry) {
    auto h = started(storeWithEntries(0, 5));
    Form1& form = h->form1();
    list(form)->setCurrentRow(1);
    button(form, kUrlSetting)->click();
    fillEditRow(form, QStringLiteral("新しい"), QStringLiteral("http://new/"), QString());
    ASSERT_TRUE(form.session().hasUnregisteredText());
    button(form, kCommit)->click();

    const UrlEntry& added = h->store.entries[0][5];
    ASSERT_EQ(added[UrlField::title], QStringLiteral("新しい"));
    ASSERT_EQ(added[UrlField::url], QStringLiteral("http://new/"));
    ASSERT_EQ(list(form)->count(), 6);
    ASSERT_TRUE(list(form)->item(5)->text().startsWith(QStringLiteral("  6 : 新しい")));
    ASSERT_EQ(form.modeHeightTwips(), 4000);
    ASSERT_TRUE(editRowEmpty(form));
    ASSERT_EQ(selectedRow(form), -1);
    ASSERT_TRUE(selectionButtonsDisabled(form));
    ASSERT_TRUE(!form.session().hasUnregisteredText());
    ASSERT_TRUE(h->fake.messages.shown.empty());
}

TEST(MainWindowTest, CommitNamesTheCharactersTheFileCannotKeep) {
    auto h = started(storeWithEntries(0, 1));
    Form1& form = h->form1();
    button(form, kUrlSetting)->click();
    fillEditRow(form, QStringLiteral("한국어 \U0001F600"), QStringLiteral("https://ko.example/한"),
                QStringLiteral("東京と한"));
    button(form, kCommit)->click();
    ASSERT_EQ(h->fake.messages.shown.size(), size_t(1));
    const ShownMessage& notice = h->fake.messages.shown.front();
    ASSERT_EQ(notice.title, kMessageTitle);
    ASSERT_EQ(notice.text, unstorableNotice(QStringLiteral("한국어\U0001F600")));
    ASSERT_TRUE(!notice.question);
    ASSERT_EQ(h->store.entries[0][1][UrlField::title], QStringLiteral("한국어 \U0001F600"));
    ASSERT_EQ(form.modeHeightTwips(), 4000);

    button(form, kUrlSetting)->click();
    fillEditRow(form, QStringLiteral("東京"), QStringLiteral("https://ko.example/한"), QString());
    button(form, kCommit)->click();  // the address is stored encoded: nothing to name
    ASSERT_EQ(h->fake.messages.shown.size(), size_t(1));
    ASSERT_EQ(h->store.entries[0][2][UrlField::title], QStringLiteral("東京"));
}

TEST(MainWindowTest, CommitRefusesBlankTitleOrUrlAndIgnoresListMode) {
    auto h = started(storeWithEntries(0, 1));
    Form1& form = h->form1();
    fillEditRow(form, QStringLiteral("t"), QStringLiteral("http://x/"), QString());
    button(form, kCommit)->click();  // list mode: nothing
    ASSERT_EQ(h->store.entries[0][1][UrlField::url], QString());
    ASSERT_TRUE(h->fake.messages.shown.empty());

    button(form, kUrlSetting)->click();
    fillEditRow(form, QStringLiteral("   "), QStringLiteral("http://x/"), QString());
    ASSERT_EQ(box(form, kTitleBox)->text(), QStringLiteral("   "));  // blank, kept as typed
    button(form, kCommit)->click();
    fillEditRow(form, QStringLiteral("t"), QString(), QString());
    button(form, kCommit)->click();
    ASSERT_EQ(h->fake.messages.shown.size(), size_t(2));
    for (const ShownMessage& m : h->fake.messages.shown) {
        ASSERT_EQ(m.title, kMessageTitle);
        ASSERT_EQ(m.text, kBlankTitleOrUrlNotice);
        ASSERT_TRUE(!m.question);
    }
    ASSERT_EQ(form.modeHeightTwips(), 5200);
    ASSERT_EQ(box(form, kTitleBox)->text(), QStringLiteral("t"));
}

TEST(MainWindowTest, BlankFieldsCountAsEmptyAndAreStoredTrimmed) {
    auto h = started(storeWithEntries(0, 1));
    Form1& form = h->form1();
    box(form, kUrlBox)->setText(QStringLiteral("\u3000 "));
    ASSERT_EQ(box(form, kUrlBox)->text(), QStringLiteral("\u3000 "));
    ASSERT_TRUE(!form.session().hasUnregisteredText());
    button(form, kUrlSetting)->click();
    fillEditRow(form, QStringLiteral(" t\u3000"), QStringLiteral(" a b\u3000"),
                QStringLiteral("\u3000c d "));
    ASSERT_EQ(box(form, kUrlBox)->text(), QStringLiteral(" a b\u3000"));
    ASSERT_TRUE(form.session().hasUnregisteredText());
    button(form, kCommit)->click();
    const UrlEntry& added = h->store.entries[0][1];
    ASSERT_EQ(added[UrlField::title], QStringLiteral("t"));
    ASSERT_EQ(added[UrlField::url], QStringLiteral("a b"));
    ASSERT_EQ(added[UrlField::content], QStringLiteral("c d"));
    QTest::keyClicks(box(form, kTitleBox), QStringLiteral("0123456789abcdefgh"));
    ASSERT_EQ(box(form, kTitleBox)->text(), QStringLiteral("0123456789abcde"));
}

TEST(MainWindowTest, ThirtyEntriesRefuseAnotherAndAFullTabStoresNothing) {
    UrlStore store = storeWithEntries(1, 30);
    auto h = started(store);
    Form1& form = h->form1();
    tabs(form)->setCurrentIndex(1);
    button(form, kUrlSetting)->click();
    ASSERT_EQ(h->fake.messages.shown.size(), size_t(1));
    ASSERT_EQ(h->fake.messages.shown[0].text, kTabFullNotice);
    ASSERT_EQ(h->fake.messages.shown[0].title, kMessageTitle);
    ASSERT_EQ(form.modeHeightTwips(), 4000);

    // Edit mode entered on an empty tab, then the full tab picked.
    tabs(form)->setCurrentIndex(0);
    button(form, kUrlSetting)->click();
    tabs(form)->setCurrentIndex(1);
    fillEditRow(form, QStringLiteral("t"), QStringLiteral("http://x/"), QStringLiteral("c"));
    button(form, kCommit)->click();
    ASSERT_EQ(form.modeHeightTwips(), 5200);
    ASSERT_EQ(box(form, kUrlBox)->text(), QStringLiteral("http://x/"));
    ASSERT_EQ(list(form)->count(), 30);
    ASSERT_EQ(h->store.entries[1][29][UrlField::url], QStringLiteral("http://host/29"));
    ASSERT_EQ(h->fake.messages.shown.size(), size_t(1));
}

TEST(MainWindowTest, CorrectAnEntry) {
    UrlStore store = storeWithEntries(0, 3);
    store.entries[0][1][UrlField::title] = QStringLiteral("title 1") + QString(8, u'\u3000');
    auto h = started(store);
    Form1& form = h->form1();
    list(form)->setCurrentRow(1);
    ASSERT_TRUE(selectionButtonsEnabled(form));
    button(form, kCorrect)->click();
    ASSERT_EQ(box(form, kTitleBox)->text(), QStringLiteral("title 1"));
    ASSERT_EQ(box(form, kUrlBox)->text(), QStringLiteral("http://host/1"));
    ASSERT_EQ(box(form, kContentBox)->text(), QStringLiteral("content 1"));
    ASSERT_EQ(h->shared.modifyMode, EditMode::Correcting);
    ASSERT_TRUE(!form.session().hasUnregisteredText());
    ASSERT_EQ(form.modeHeightTwips(), 5200);

    box(form, kUrlBox)->setText(QStringLiteral("http://corrected/"));
    button(form, kCommit)->click();
    ASSERT_EQ(h->store.entries[0][1][UrlField::url], QStringLiteral("http://corrected/"));
    ASSERT_EQ(list(form)->count(), 3);
    ASSERT_EQ(h->shared.modifyMode, EditMode::Adding);

    // The next add adds instead of overwriting.
    button(form, kUrlSetting)->click();
    fillEditRow(form, QStringLiteral("n"), QStringLiteral("http://n/"), QString());
    button(form, kCommit)->click();
    ASSERT_EQ(h->store.entries[0][3][UrlField::url], QStringLiteral("http://n/"));
    ASSERT_EQ(h->store.entries[0][1][UrlField::url], QStringLiteral("http://corrected/"));
}

TEST(MainWindowTest, AClickWhileCorrectingTurnsItIntoAnAdd) {
    auto h = correctingRow(0);
    Form1& form = h->form1();
    list(form)->setCurrentRow(2);
    ASSERT_TRUE(editRowEmpty(form));
    ASSERT_EQ(form.modeHeightTwips(), 5200);
    ASSERT_EQ(h->shared.modifyMode, EditMode::Adding);
}

TEST(MainWindowTest, CorrectingADeletedEntryAddsTheEditRow) {
    auto h = correctingRow(2);
    Form1& form = h->form1();
    button(form, kDelete)->click();  // Yes
    ASSERT_EQ(selectedRow(form), -1);
    ASSERT_EQ(h->shared.modifyMode, EditMode::Correcting);
    ASSERT_EQ(box(form, kUrlBox)->text(), QStringLiteral("http://host/2"));
    button(form, kCommit)->click();
    ASSERT_EQ(h->store.entries[0][2][UrlField::url], QStringLiteral("http://host/2"));
    ASSERT_EQ(list(form)->count(), 3);
    ASSERT_EQ(h->shared.modifyMode, EditMode::Adding);
}

TEST(MainWindowTest, DeleteRenumbersTheRows) {
    auto h = started(storeWithEntries(0, 5));
    Form1& form = h->form1();
    list(form)->setCurrentRow(2);
    h->fake.messages.setNextAnswer(false);
    button(form, kDelete)->click();
    ASSERT_EQ(list(form)->count(), 5);

    button(form, kDelete)->click();
    const std::vector<ShownMessage>& shown = h->fake.messages.shown;
    ASSERT_EQ(shown.size(), size_t(2));
    ASSERT_EQ(shown[1].text, deleteQuestion(2));
    ASSERT_EQ(shown[1].title, kMessageTitle);
    ASSERT_TRUE(shown[1].question);
    ASSERT_EQ(list(form)->count(), 4);
    ASSERT_EQ(h->store.entries[0][2][UrlField::url], QStringLiteral("http://host/3"));
    for (int row = 0; row < 4; ++row) {
        ASSERT_TRUE(
            list(form)->item(row)->text().startsWith(QStringLiteral("  %1 : ").arg(row + 1)));
    }
    ASSERT_TRUE(selectionButtonsDisabled(form));
}

TEST(MainWindowTest, MoveUpAndDown) {
    auto h = started(storeWithEntries(0, 3));
    Form1& form = h->form1();
    list(form)->setCurrentRow(1);
    box(form, kTitleBox)->setText(QStringLiteral("typed"));
    button(form, kUp)->click();
    ASSERT_EQ(h->store.entries[0][0][UrlField::title], QStringLiteral("title 1"));
    ASSERT_EQ(h->store.entries[0][1][UrlField::url], QStringLiteral("http://host/0"));
    ASSERT_EQ(selectedRow(form), 0);
    ASSERT_TRUE(selectionButtonsEnabled(form));
    ASSERT_TRUE(editRowEmpty(form));

    button(form, kUp)->click();  // row 0: nothing
    ASSERT_EQ(h->store.entries[0][0][UrlField::title], QStringLiteral("title 1"));
    list(form)->setCurrentRow(2);
    button(form, kDown)->click();  // last row: nothing
    ASSERT_EQ(h->store.entries[0][2][UrlField::title], QStringLiteral("title 2"));
    list(form)->setCurrentRow(0);
    button(form, kDown)->click();
    ASSERT_EQ(selectedRow(form), 1);
    ASSERT_EQ(h->store.entries[0][1][UrlField::title], QStringLiteral("title 1"));
    ASSERT_EQ(h->store.entries[0][0][UrlField::title], QStringLiteral("title 0"));

    list(form)->clearSelection();
    button(form, kDown)->click();  // nothing selected: nothing moves
    ASSERT_EQ(h->store.entries[0][0][UrlField::title], QStringLiteral("title 0"));
}

TEST(MainWindowTest, TabChangeInEditModeEmptiesTheRow) {
    auto h = correctingRow(0);
    Form1& form = h->form1();
    tabs(form)->setCurrentIndex(4);
    ASSERT_EQ(list(form)->count(), 0);
    ASSERT_TRUE(editRowEmpty(form));
    ASSERT_TRUE(selectionButtonsDisabled(form));
    ASSERT_EQ(h->shared.modifyMode, EditMode::Adding);
    ASSERT_EQ(form.modeHeightTwips(), 5200);
}

TEST(MainWindowTest, BackAsksOnlyAfterChanges) {
    auto h = started(storeWithEntries(0, 2));
    Form1& form = h->form1();
    list(form)->setCurrentRow(0);
    button(form, kCorrect)->click();
    button(form, kBack)->click();
    ASSERT_TRUE(h->fake.messages.shown.empty());
    ASSERT_EQ(form.modeHeightTwips(), 4000);

    button(form, kUrlSetting)->click();
    QTest::keyClicks(box(form, kTitleBox), QStringLiteral("x"));
    h->fake.messages.setNextAnswer(false);
    button(form, kBack)->click();
    ASSERT_EQ(h->fake.messages.shown.size(), size_t(1));
    ASSERT_EQ(h->fake.messages.shown[0].title, kInquiryTitle);
    ASSERT_EQ(h->fake.messages.shown[0].text, kDiscardQuestion);
    ASSERT_EQ(form.modeHeightTwips(), 5200);
    ASSERT_EQ(box(form, kTitleBox)->text(), QStringLiteral("x"));

    button(form, kBack)->click();  // Yes
    ASSERT_EQ(form.modeHeightTwips(), 4000);
    ASSERT_TRUE(editRowEmpty(form));
}

TEST(MainWindowTest, ADropAsksBeforeReplacingUnregisteredText) {
    auto h = correctingRow(1);
    Form1& form = h->form1();
    box(form, kTitleBox)->setText(QStringLiteral("changed title"));
    QMimeData link;
    link.setText(QStringLiteral("https://dropped.example/"));
    // A drop reaches the widget that took the drag's entry.
    const auto drop = [&form, &link] {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &link, Qt::LeftButton, {});
        QApplication::sendEvent(&form, &enter);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &link, Qt::LeftButton, {});
        QApplication::sendEvent(&form, &event);
        return event.isAccepted();
    };

    h->fake.messages.setNextAnswer(false);
    ASSERT_TRUE(!drop());
    ASSERT_EQ(h->fake.messages.shown.size(), size_t(1));
    ASSERT_EQ(h->fake.messages.shown[0].title, kInquiryTitle);
    ASSERT_EQ(h->fake.messages.shown[0].text, kDiscardQuestion);
    ASSERT_EQ(box(form, kTitleBox)->text(), QStringLiteral("changed title"));
    ASSERT_EQ(box(form, kUrlBox)->text(), QStringLiteral("http://host/1"));
    ASSERT_EQ(h->shared.modifyMode, EditMode::Correcting);
    ASSERT_TRUE(form.session().hasUnregisteredText());

    ASSERT_TRUE(drop());  // Yes
    ASSERT_EQ(h->fake.messages.shown.size(), size_t(2));
    ASSERT_EQ(box(form, kTitleBox)->text(), QString());
    ASSERT_EQ(box(form, kUrlBox)->text(), QStringLiteral("https://dropped.example/"));
    ASSERT_EQ(h->shared.modifyMode, EditMode::Adding);
    ASSERT_EQ(h->store.entries[0][1][UrlField::url], QStringLiteral("http://host/1"));
}

TEST(MainWindowTest, ExitSavesAndEndsTheProgram) {
    auto h = started(storeWithEntries(0, 2));
    Form1& form = h->form1();
    h->store.entries[0][0][UrlField::title] = QStringLiteral("changed");
    button(form, kExit)->click();
    ASSERT_TRUE(h->fake.messages.shown.empty());
    ASSERT_EQ(h->storeIo.saves, 1);
    ASSERT_EQ(h->storeIo.saved.entries[0][0][UrlField::title], QStringLiteral("changed"));
    ASSERT_TRUE(h->fake.events.pendingRuns >= 1);
    ASSERT_TRUE(h->fake.tray.removes >= 1);
    ASSERT_EQ(h->endings, 1);
    ASSERT_TRUE(!form.isVisible() && !h->form2().isVisible() && !h->form3().isVisible());
}

TEST(MainWindowTest, ExitAsksAboutTypedTextAndNoKeepsEverythingOpen) {
    auto h = started(storeWithEntries(0, 2));
    Form1& form = h->form1();
    button(form, kUrlSetting)->click();
    box(form, kContentBox)->setText(QStringLiteral("memo"));
    h->fake.messages.setNextAnswer(false);
    button(form, kExit)->click();
    ASSERT_EQ(h->fake.messages.shown.at(0).text, kDiscardQuestion);
    ASSERT_EQ(h->storeIo.saves, 0);
    ASSERT_EQ(h->endings, 0);
    ASSERT_TRUE(form.isVisible());

    button(form, kExit)->click();  // Yes: saved without the typed text
    ASSERT_EQ(h->storeIo.saves, 1);
    ASSERT_EQ(h->storeIo.saved.entries[0][2][UrlField::content], QString());
    ASSERT_EQ(h->endings, 1);
}

TEST(MainWindowTest, AFailedSaveIsReportedAndTheProgramStaysOpen) {
    auto h = started(storeWithEntries(0, 2));
    Form1& form = h->form1();
    h->storeIo.saveOutcome = Failure{FailureKind::dataFileNotWritten,
                                     QStringLiteral("cannot write /data/url: disk full"),
                                     {QStringLiteral("/data/url"), QStringLiteral("disk full")}};
    button(form, kExit)->click();
    ASSERT_EQ(h->fake.messages.shown.size(), size_t(1));
    ASSERT_EQ(h->fake.messages.shown[0].title, kMessageTitle);
    ASSERT_EQ(h->fake.messages.shown[0].text,
              QStringLiteral("データファイルを保存できませんでした。\r\n"
                             "データファイル /data/url を書き込めません: disk full"));
    ASSERT_EQ(h->endings, 0);
    ASSERT_TRUE(form.isVisible() && !form.isMinimized());

    h->storeIo.saveOutcome = SaveOutcome();
    button(form, kExit)->click();
    ASSERT_EQ(h->endings, 1);
}

TEST(MainWindowTest, WindowManagerCloseIsRefused) {
    auto h = started(storeWithEntries(0, 1));
    ASSERT_TRUE(!h->form1().close());
    ASSERT_TRUE(h->form1().isVisible());
    ASSERT_EQ(h->endings, 0);
}

TEST(MainWindowTest, DoubleClickOpensTheSelectedEntry) {
    UrlStore store = storeWithEntries(2, 3);
    store.minimizeOnLaunch = 1;
    auto h = started(store);
    Form1& form = h->form1();
    tabs(form)->setCurrentIndex(2);
    h->shared.logoffTicks = 5;
    QTest::keyClick(list(form), Qt::Key_Return);  // nothing selected
    ASSERT_TRUE(h->launcher.opened.isEmpty());
    ASSERT_EQ(h->shared.logoffTicks, int16_t(0));

    h->shared.logoffTicks = 5;
    QListWidgetItem* item = list(form)->item(2);
    const QPoint at = list(form)->visualItemRect(item).center();
    QTest::mouseClick(list(form)->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list(form)->viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(h->launcher.opened, QStringList{QStringLiteral("http://host/2")});
    ASSERT_EQ(h->shared.logoffTicks, int16_t(0));
    ASSERT_TRUE(form.isMinimized());
    ASSERT_TRUE(timer(form, "Timer1")->isActive());
    ASSERT_EQ(timer(form, "Timer1")->interval(), 60000);
}

TEST(MainWindowTest, ArrowsMoveTheSelectionAndReturnOpensIt) {
    auto h = started(storeWithEntries(0, 3));
    Form1& form = h->form1();
    list(form)->setCurrentRow(0);
    box(form, kTitleBox)->setText(QStringLiteral("typed"));
    list(form)->setFocus();
    QTest::keyClick(list(form), Qt::Key_Down);
    ASSERT_EQ(selectedRow(form), 1);
    ASSERT_TRUE(editRowEmpty(form));
    ASSERT_TRUE(h->launcher.opened.isEmpty());
    QTest::keyClick(list(form), Qt::Key_Return);
    ASSERT_EQ(h->launcher.opened, QStringList{QStringLiteral("http://host/1")});
}

TEST(MainWindowTest, HomePageStartsTheSiteMinimized) {
    auto h = started(storeWithEntries(0, 1));
    button(h->form1(), kHomePage)->click();
    ASSERT_EQ(h->fake.process.started.size(), size_t(1));
    ASSERT_EQ(h->fake.process.started[0].commandLine, "EXPLORER.EXE " + kSiteUrl);
    ASSERT_EQ(h->fake.process.started[0].style, WindowStyle::MinimizedFocus);
}

TEST(MainWindowTest, LogOffAndReturnInTheSameMode) {
    UrlStore store = storeWithEntries(0, 2);
    store.password = QStringLiteral("pw");
    auto h = std::make_unique<WindowHarness>();
    h->storeIo.loaded = store;
    h->start();
    passwordBox(h->form2())->setText(QStringLiteral("pw"));
    Form1& form = h->form1();
    ASSERT_TRUE(form.isVisible());
    ASSERT_TRUE(button(form, kLogOff)->isEnabled());
    button(form, kUrlSetting)->click();
    box(form, kTitleBox)->setText(QStringLiteral("half done"));
    h->shared.logoffTicks = 3;

    button(form, kLogOff)->click();
    ASSERT_TRUE(!form.isVisible());
    ASSERT_TRUE(h->form2().isVisible());
    ASSERT_EQ(passwordBox(h->form2())->text(), QString());
    ASSERT_EQ(h->shared.logoffTicks, int16_t(3));  // the button does not reset the counter

    QTest::keyClicks(passwordBox(h->form2()), QStringLiteral("pw"));
    ASSERT_TRUE(form.isVisible());
    ASSERT_EQ(form.modeHeightTwips(), 5200);
    ASSERT_EQ(box(form, kTitleBox)->text(), QStringLiteral("half done"));
    ASSERT_EQ(h->shared.logoffTicks, int16_t(0));
}

TEST(MainWindowTest, MinimizedWindowMovesIntoTheTray) {
    auto h = started(storeWithEntries(0, 1));
    Form1& form = h->form1();
    ASSERT_TRUE(!timer(form, "Timer1")->isActive());
    form.Timer1_Timer();  // not minimized: nothing
    ASSERT_EQ(h->fake.tray.adds, 0);

    form.showMinimized();
    ASSERT_TRUE(timer(form, "Timer1")->isActive());
    ASSERT_EQ(timer(form, "Timer1")->interval(), 60000);
    form.showNormal();  // back within the minute
    ASSERT_TRUE(!timer(form, "Timer1")->isActive());

    form.showMinimized();
    form.Timer1_Timer();
    ASSERT_EQ(h->fake.tray.adds, 1);
    ASSERT_EQ(h->fake.tray.tip, QStringLiteral("Velandri"));
    ASSERT_TRUE(!form.isVisible());
    ASSERT_TRUE(!timer(form, "Timer1")->isActive());

    emit h->fake.tray.leftReleased();
    ASSERT_TRUE(form.isVisible());
    ASSERT_TRUE(!form.isMinimized());
    ASSERT_TRUE(!h->fake.tray.shown);
    ASSERT_TRUE(!timer(form, "Timer1")->isActive());
    ASSERT_EQ(form.frameGeometry().center(), form.screen()->geometry().center());
}

TEST(MainWindowTest, TrayIconWhileLoggedOffAsksForThePassword) {
    UrlStore store = storeWithEntries(0, 1);
    store.password = QStringLiteral("pw");
    auto h = started(store);
    passwordBox(h->form2())->setText(QStringLiteral("pw"));
    Form1& form = h->form1();
    form.showMinimized();
    form.Timer1_Timer();
    ASSERT_TRUE(h->fake.tray.shown);
    button(form, kLogOff)->click();
    ASSERT_TRUE(h->form2().isVisible());

    emit h->fake.tray.leftReleased();
    ASSERT_TRUE(!form.isVisible());
    ASSERT_TRUE(h->form2().isVisible());
    ASSERT_TRUE(!h->fake.tray.shown);
    passwordBox(h->form2())->setText(QStringLiteral("pw"));
    ASSERT_TRUE(form.isVisible());
    ASSERT_TRUE(!form.isMinimized());
}

TEST(MainWindowTest, TrayClicksAfterTheWindowsAreGoneReachNothing) {
    FakePlatform fake;
    Platform platform = fake.platform();
    UrlStore store;
    SharedValues shared;
    MemoryStoreIo storeIo;
    storeIo.loaded = storeWithEntries(0, 1);
    FakeUpdater updater{fake.windows};
    FakeLauncher launcher;
    {
        ProgramWindows windows(store, shared, platform, storeIo, updater, launcher, kSiteUrl);
        windows.start();
        ASSERT_TRUE(windows.form1().isVisible());
    }
    emit fake.tray.leftReleased();
    emit fake.tray.rightPressed();
    ASSERT_EQ(fake.tray.poppedUp, nullptr);
    ASSERT_EQ(fake.events.pendingRuns, 0);
}

TEST(MainWindowTest, WithoutATrayTheWindowStaysMinimized) {
    auto h = started(storeWithEntries(0, 1));
    h->fake.tray.available = false;
    Form1& form = h->form1();
    form.showMinimized();
    form.Timer1_Timer();
    ASSERT_EQ(h->fake.tray.adds, 0);
    ASSERT_TRUE(form.isVisible());
    ASSERT_TRUE(form.isMinimized());
}

TEST(MainWindowTest, TrayMenuEndsWithoutSaving) {
    auto h = started(storeWithEntries(0, 1));
    Form1& form = h->form1();
    const int pendingBefore = h->fake.events.pendingRuns;
    emit h->fake.tray.rightPressed();
    ASSERT_EQ(h->fake.tray.poppedUp, menu(form));
    ASSERT_TRUE(h->fake.events.pendingRuns > pendingBefore);
    ASSERT_EQ(menu(form)->actions().size(), 1);
    ASSERT_EQ(menu(form)->actions()[0]->text(), QStringLiteral("終了"));

    menu(form)->actions()[0]->trigger();
    ASSERT_EQ(h->endings, 1);
    ASSERT_EQ(h->storeIo.saves, 0);
    ASSERT_TRUE(!form.isVisible());
}

TEST(MainWindowTest, NothingEntersTheLoadWhileItRuns) {
    for (const QString& password : {QString(), QStringLiteral("pw")}) {
        SCOPED_TRACE(password.isEmpty() ? "loaded at the start" : "loaded when the gate opens");
        auto h = std::make_unique<WindowHarness>();
        h->storeIo.loaded = storeWithEntries(0, 1);
        h->storeIo.loaded.password = password;
        Form1& form = h->form1();
        bool shownInsideTheLoad = true;
        bool clockInsideTheLoad = true;
        h->updater.duringCheck = [&] {
            h->windows.bringToFront();
            passwordBox(h->form2())->setText(QString());
            passwordBox(h->form2())->setText(password);
            shownInsideTheLoad = form.isVisible();
            clockInsideTheLoad = timer(form, "Timer2")->isActive();
        };
        h->start();
        if (!password.isEmpty()) passwordBox(h->form2())->setText(password);
        ASSERT_TRUE(!shownInsideTheLoad);
        ASSERT_TRUE(!clockInsideTheLoad);
        ASSERT_EQ(h->updater.calls, QStringList{QStringLiteral("checkVersion")});
        ASSERT_TRUE(form.isVisible());
        ASSERT_TRUE(!h->form2().isVisible());
        ASSERT_TRUE(timer(form, "Timer2")->isActive());
    }
}

TEST(MainWindowTest, AutoLogoff) {
    UrlStore store = storeWithEntries(0, 1);
    store.password = QStringLiteral("pw");
    store.logoffMinutes = 1;
    auto h = std::make_unique<WindowHarness>();
    h->storeIo.loaded = store;
    h->start();
    passwordBox(h->form2())->setText(QStringLiteral("pw"));
    Form1& form = h->form1();
    ASSERT_TRUE(timer(form, "Timer2")->isActive());
    ASSERT_EQ(timer(form, "Timer2")->interval(), 10000);

    for (int tick = 0; tick < 6; ++tick) form.Timer2_Timer();
    ASSERT_TRUE(form.isVisible());
    tabs(form)->setCurrentIndex(1);  // activity other than a launch does not delay it
    form.Timer2_Timer();
    ASSERT_TRUE(!form.isVisible());
    ASSERT_TRUE(h->form2().isVisible());
    ASSERT_EQ(h->shared.logoffTicks, int16_t(0));
}
