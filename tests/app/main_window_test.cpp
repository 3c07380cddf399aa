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
    box(form, 0)->setText(title);
    box(form, 1)->setText(url);
    box(form, 2)->setText(content);
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
    return box(form, 0)->text().isEmpty() && box(form, 1)->text().isEmpty() &&
           box(form, 2)->text().isEmpty();
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void loadOrder_data() {
        QTest::addColumn<QString>("latest");
        QTest::addColumn<bool>("updates");
        QTest::newRow("1.7 is newer") << "1.7" << true;
        QTest::newRow("1.6 is ours") << "1.6" << false;
        QTest::newRow("1.5 is older") << "1.5" << false;
        QTest::newRow("none found") << "" << false;
        QTest::newRow("1.10 sorts before 1.6") << "1.10" << false;
    }
    void loadOrder() {
        QFETCH(QString, latest);
        QFETCH(bool, updates);
        UrlStore store = storeWithEntries(0, 3);
        store.topMost = 1;
        WindowHarness h;
        h.storeIo.loaded = store;
        h.updater.answer = latest;
        h.start();

        QCOMPARE(h.updater.topMostCallsBeforeCheck, 1);
        QCOMPARE(h.fake.windows.calls.front().first, &h.form1());
        QVERIFY(h.fake.windows.calls.front().second);
        QStringList expected{"checkVersion"};
        if (updates) expected << "subUpdate";
        QCOMPARE(h.updater.calls, expected);
        QCOMPARE(h.shared.latestVersion, latest);
    }

    void loadShowsCaptionTabsAndListOfTabZero() {
        UrlStore store = storeWithEntries(0, 3);
        store.password = QStringLiteral("   ");  // blanks only count as no password
        store.logoffMinutes = 30;
        auto h = started(store);
        Form1& form = h->form1();
        QVERIFY(!form.isVisible());  // the gate compares untrimmed
        h->form2().Text1->setText(QStringLiteral("   "));

        QVERIFY(form.isVisible());
        QVERIFY(!h->form2().isVisible());
        QCOMPARE(form.windowTitle(), QStringLiteral("Velandri  Version") + kOwnVersion);
        QCOMPARE(form.windowIcon().availableSizes().size(), 7);  // the icon's pictures are built in
        QCOMPARE(tabs(form)->count(), 10);
        QCOMPARE(tabs(form)->tabText(9), QStringLiteral("tab10"));
        QCOMPARE(list(form)->count(), 3);
        QCOMPARE(selectedRow(form), -1);
        QVERIFY(!button(form, kLogOff)->isEnabled());
        QVERIFY(selectionButtonsDisabled(form));
        QVERIFY(h->fake.windows.calls.empty());  // not top-most

        activate(form);
        QCOMPARE(h->store.logoffMinutes, int16_t(0));
        h->store.tabNames[2] = QStringLiteral("renamed");
        activate(form);
        QCOMPARE(tabs(form)->tabText(2), QStringLiteral("renamed"));
    }

    // The built-in pixels are the SVG drawn at each size, not bytes taken in the wrong order.
    void iconIsTheSvgAtEverySize() {
        QSvgRenderer svg(QStringLiteral(VELANDRI_ICON_SVG));
        const QIcon icon = programIcon();
        for (const QSize& size : icon.availableSizes()) {
            QImage drawn(size, QImage::Format_ARGB32_Premultiplied);
            drawn.fill(Qt::transparent);
            QPainter painter(&drawn);
            svg.render(&painter);
            painter.end();
            QCOMPARE(icon.pixmap(size).toImage().convertToFormat(drawn.format()), drawn);
        }
    }

    void modeHeightsShowTheRightRows() {
        auto h = started(storeWithEntries(0, 3));
        Form1& form = h->form1();
        const auto bottomOf = [](QWidget* w) { return w->geometry().bottom(); };
        QCOMPARE(form.modeHeightTwips(), 4000);
        QVERIFY(bottomOf(button(form, kLogOff)) < form.height());
        QVERIFY(label(form, 0)->y() >= form.height());
        QVERIFY(box(form, 0)->y() >= form.height());
        QCOMPARE(form.width(), qRound(6600 * form.logicalDpiX() / 1440.0));

        button(form, kUrlSetting)->click();
        QCOMPARE(form.modeHeightTwips(), 5200);
        QVERIFY(bottomOf(button(form, kCommit)) < form.height());
        QVERIFY(bottomOf(button(form, kBack)) < form.height());
        QCOMPARE(form.focusWidget(), box(form, 0));
        const QRect screen = form.screen()->geometry();
        QCOMPARE(form.frameGeometry().center().y(), screen.center().y());
    }

    void listStopsAtTheFirstEmptyUrl() {
        UrlStore store = storeWithEntries(0, 2);
        store.entries[0][5][UrlField::url] = QStringLiteral("http://after-gap/");
        auto h = started(store);
        QCOMPARE(list(h->form1())->count(), 2);
        QCOMPARE(list(h->form1())->item(1)->text(), listLine(h->store.entries[0][1]));
    }

    void addAnEntry() {
        auto h = started(storeWithEntries(0, 5));
        Form1& form = h->form1();
        list(form)->setCurrentRow(1);
        button(form, kUrlSetting)->click();
        fillEditRow(form, QStringLiteral("新しい"), QStringLiteral("http://new/"), QString());
        QVERIFY(form.session().hasUnregisteredText());
        button(form, kCommit)->click();

        const UrlEntry& added = h->store.entries[0][5];
        QCOMPARE(added[UrlField::title], QStringLiteral("新しい"));
        QCOMPARE(added[UrlField::url], QStringLiteral("http://new/"));
        QCOMPARE(list(form)->count(), 6);
        QVERIFY(list(form)->item(5)->text().startsWith(QStringLiteral("  6 : 新しい")));
        QCOMPARE(form.modeHeightTwips(), 4000);
        QVERIFY(editRowEmpty(form));
        QCOMPARE(selectedRow(form), -1);
        QVERIFY(selectionButtonsDisabled(form));
        QVERIFY(!form.session().hasUnregisteredText());
        QVERIFY(h->fake.messages.shown.empty());
    }

    // Title and content are text for people: what the data file cannot keep becomes "?", and
    // "完了" says so once before it stores the entry as it stands.
    void commitNamesTheCharactersTheFileCannotKeep() {
        auto h = started(storeWithEntries(0, 1));
        Form1& form = h->form1();
        button(form, kUrlSetting)->click();
        fillEditRow(form, QStringLiteral("한국어 \U0001F600"),
                    QStringLiteral("https://ko.example/한"), QStringLiteral("東京と한"));
        button(form, kCommit)->click();
        QCOMPARE(h->fake.messages.shown.size(), size_t(1));
        const ShownMessage& notice = h->fake.messages.shown.front();
        QCOMPARE(notice.title, kMessageTitle);
        QCOMPARE(notice.text, unstorableNotice(QStringLiteral("한국어\U0001F600")));
        QVERIFY(!notice.question);
        QCOMPARE(h->store.entries[0][1][UrlField::title], QStringLiteral("한국어 \U0001F600"));
        QCOMPARE(form.modeHeightTwips(), 4000);

        button(form, kUrlSetting)->click();
        fillEditRow(form, QStringLiteral("東京"), QStringLiteral("https://ko.example/한"),
                    QString());
        button(form, kCommit)->click();  // the address is stored encoded: nothing to name
        QCOMPARE(h->fake.messages.shown.size(), size_t(1));
        QCOMPARE(h->store.entries[0][2][UrlField::title], QStringLiteral("東京"));
    }

    void commitRefusesBlankTitleOrUrlAndIgnoresListMode() {
        auto h = started(storeWithEntries(0, 1));
        Form1& form = h->form1();
        fillEditRow(form, QStringLiteral("t"), QStringLiteral("http://x/"), QString());
        button(form, kCommit)->click();  // list mode: nothing
        QCOMPARE(h->store.entries[0][1][UrlField::url], QString());
        QVERIFY(h->fake.messages.shown.empty());

        button(form, kUrlSetting)->click();
        fillEditRow(form, QStringLiteral("   "), QStringLiteral("http://x/"), QString());
        QCOMPARE(box(form, 0)->text(), QStringLiteral("   "));  // blank, kept as typed
        button(form, kCommit)->click();
        fillEditRow(form, QStringLiteral("t"), QString(), QString());
        button(form, kCommit)->click();
        QCOMPARE(h->fake.messages.shown.size(), size_t(2));
        for (const ShownMessage& m : h->fake.messages.shown) {
            QCOMPARE(m.title, kMessageTitle);
            QCOMPARE(m.text, kBlankTitleOrUrlNotice);
            QVERIFY(!m.question);
        }
        QCOMPARE(form.modeHeightTwips(), 5200);
        QCOMPARE(box(form, 0)->text(), QStringLiteral("t"));
    }

    void blankFieldsCountAsEmptyAndAreStoredTrimmed() {
        auto h = started(storeWithEntries(0, 1));
        Form1& form = h->form1();
        box(form, 1)->setText(QStringLiteral("\u3000 "));
        QCOMPARE(box(form, 1)->text(), QStringLiteral("\u3000 "));
        QVERIFY(!form.session().hasUnregisteredText());
        button(form, kUrlSetting)->click();
        fillEditRow(form, QStringLiteral(" t\u3000"), QStringLiteral(" a b\u3000"),
                    QStringLiteral("\u3000c d "));
        QCOMPARE(box(form, 1)->text(), QStringLiteral(" a b\u3000"));
        QVERIFY(form.session().hasUnregisteredText());
        button(form, kCommit)->click();
        const UrlEntry& added = h->store.entries[0][1];
        QCOMPARE(added[UrlField::title], QStringLiteral("t"));
        QCOMPARE(added[UrlField::url], QStringLiteral("a b"));
        QCOMPARE(added[UrlField::content], QStringLiteral("c d"));
        QTest::keyClicks(box(form, 0), QStringLiteral("0123456789abcdefgh"));
        QCOMPARE(box(form, 0)->text(), QStringLiteral("0123456789abcde"));
    }

    void thirtyEntriesRefuseAnotherAndAFullTabStoresNothing() {
        UrlStore store = storeWithEntries(1, 30);
        auto h = started(store);
        Form1& form = h->form1();
        tabs(form)->setCurrentIndex(1);
        button(form, kUrlSetting)->click();
        QCOMPARE(h->fake.messages.shown.size(), size_t(1));
        QCOMPARE(h->fake.messages.shown[0].text, kTabFullNotice);
        QCOMPARE(h->fake.messages.shown[0].title, kMessageTitle);
        QCOMPARE(form.modeHeightTwips(), 4000);

        // Edit mode entered on an empty tab, then the full tab picked.
        tabs(form)->setCurrentIndex(0);
        button(form, kUrlSetting)->click();
        tabs(form)->setCurrentIndex(1);
        fillEditRow(form, QStringLiteral("t"), QStringLiteral("http://x/"), QStringLiteral("c"));
        button(form, kCommit)->click();
        QCOMPARE(form.modeHeightTwips(), 5200);
        QCOMPARE(box(form, 1)->text(), QStringLiteral("http://x/"));
        QCOMPARE(list(form)->count(), 30);
        QCOMPARE(h->store.entries[1][29][UrlField::url], QStringLiteral("http://host/29"));
        QCOMPARE(h->fake.messages.shown.size(), size_t(1));
    }

    void correctAnEntry() {
        UrlStore store = storeWithEntries(0, 3);
        store.entries[0][1][UrlField::title] = QStringLiteral("title 1") + QString(8, u'\u3000');
        auto h = started(store);
        Form1& form = h->form1();
        list(form)->setCurrentRow(1);
        QVERIFY(selectionButtonsEnabled(form));
        button(form, kCorrect)->click();
        QCOMPARE(box(form, 0)->text(), QStringLiteral("title 1"));
        QCOMPARE(box(form, 1)->text(), QStringLiteral("http://host/1"));
        QCOMPARE(box(form, 2)->text(), QStringLiteral("content 1"));
        QCOMPARE(h->shared.modifyMode, EditMode::Correcting);
        QVERIFY(!form.session().hasUnregisteredText());
        QCOMPARE(form.modeHeightTwips(), 5200);

        box(form, 1)->setText(QStringLiteral("http://corrected/"));
        button(form, kCommit)->click();
        QCOMPARE(h->store.entries[0][1][UrlField::url], QStringLiteral("http://corrected/"));
        QCOMPARE(list(form)->count(), 3);
        QCOMPARE(h->shared.modifyMode, EditMode::Adding);

        // The next add adds instead of overwriting.
        button(form, kUrlSetting)->click();
        fillEditRow(form, QStringLiteral("n"), QStringLiteral("http://n/"), QString());
        button(form, kCommit)->click();
        QCOMPARE(h->store.entries[0][3][UrlField::url], QStringLiteral("http://n/"));
        QCOMPARE(h->store.entries[0][1][UrlField::url], QStringLiteral("http://corrected/"));
    }

    void aClickWhileCorrectingTurnsItIntoAnAdd() {
        auto h = correctingRow(0);
        Form1& form = h->form1();
        list(form)->setCurrentRow(2);
        QVERIFY(editRowEmpty(form));
        QCOMPARE(form.modeHeightTwips(), 5200);
        QCOMPARE(h->shared.modifyMode, EditMode::Adding);
    }

    void correctingADeletedEntryAddsTheEditRow() {
        auto h = correctingRow(2);
        Form1& form = h->form1();
        button(form, kDelete)->click();  // Yes
        QCOMPARE(selectedRow(form), -1);
        QCOMPARE(h->shared.modifyMode, EditMode::Correcting);
        QCOMPARE(box(form, 1)->text(), QStringLiteral("http://host/2"));
        button(form, kCommit)->click();
        QCOMPARE(h->store.entries[0][2][UrlField::url], QStringLiteral("http://host/2"));
        QCOMPARE(list(form)->count(), 3);
        QCOMPARE(h->shared.modifyMode, EditMode::Adding);
    }

    void deleteRenumbersTheRows() {
        auto h = started(storeWithEntries(0, 5));
        Form1& form = h->form1();
        list(form)->setCurrentRow(2);
        h->fake.messages.setNextAnswer(false);
        button(form, kDelete)->click();
        QCOMPARE(list(form)->count(), 5);

        button(form, kDelete)->click();
        const std::vector<ShownMessage>& shown = h->fake.messages.shown;
        QCOMPARE(shown.size(), size_t(2));
        QCOMPARE(shown[1].text, deleteQuestion(2));
        QCOMPARE(shown[1].title, kMessageTitle);
        QVERIFY(shown[1].question);
        QCOMPARE(list(form)->count(), 4);
        QCOMPARE(h->store.entries[0][2][UrlField::url], QStringLiteral("http://host/3"));
        for (int row = 0; row < 4; ++row) {
            QVERIFY(
                list(form)->item(row)->text().startsWith(QStringLiteral("  %1 : ").arg(row + 1)));
        }
        QVERIFY(selectionButtonsDisabled(form));
    }

    void moveUpAndDown() {
        auto h = started(storeWithEntries(0, 3));
        Form1& form = h->form1();
        list(form)->setCurrentRow(1);
        box(form, 0)->setText(QStringLiteral("typed"));
        button(form, kUp)->click();
        QCOMPARE(h->store.entries[0][0][UrlField::title], QStringLiteral("title 1"));
        QCOMPARE(h->store.entries[0][1][UrlField::url], QStringLiteral("http://host/0"));
        QCOMPARE(selectedRow(form), 0);
        QVERIFY(selectionButtonsEnabled(form));
        QVERIFY(editRowEmpty(form));

        button(form, kUp)->click();  // row 0: nothing
        QCOMPARE(h->store.entries[0][0][UrlField::title], QStringLiteral("title 1"));
        list(form)->setCurrentRow(2);
        button(form, kDown)->click();  // last row: nothing
        QCOMPARE(h->store.entries[0][2][UrlField::title], QStringLiteral("title 2"));
        list(form)->setCurrentRow(0);
        button(form, kDown)->click();
        QCOMPARE(selectedRow(form), 1);
        QCOMPARE(h->store.entries[0][1][UrlField::title], QStringLiteral("title 1"));
        QCOMPARE(h->store.entries[0][0][UrlField::title], QStringLiteral("title 0"));

        list(form)->clearSelection();
        button(form, kDown)->click();  // nothing selected: nothing moves
        QCOMPARE(h->store.entries[0][0][UrlField::title], QStringLiteral("title 0"));
    }

    void tabChangeInEditModeEmptiesTheRow() {
        auto h = correctingRow(0);
        Form1& form = h->form1();
        tabs(form)->setCurrentIndex(4);
        QCOMPARE(list(form)->count(), 0);
        QVERIFY(editRowEmpty(form));
        QVERIFY(selectionButtonsDisabled(form));
        QCOMPARE(h->shared.modifyMode, EditMode::Adding);
        QCOMPARE(form.modeHeightTwips(), 5200);
    }

    void backAsksOnlyAfterChanges() {
        auto h = started(storeWithEntries(0, 2));
        Form1& form = h->form1();
        list(form)->setCurrentRow(0);
        button(form, kCorrect)->click();
        button(form, kBack)->click();
        QVERIFY(h->fake.messages.shown.empty());
        QCOMPARE(form.modeHeightTwips(), 4000);

        button(form, kUrlSetting)->click();
        QTest::keyClicks(box(form, 0), QStringLiteral("x"));
        h->fake.messages.setNextAnswer(false);
        button(form, kBack)->click();
        QCOMPARE(h->fake.messages.shown.size(), size_t(1));
        QCOMPARE(h->fake.messages.shown[0].title, kInquiryTitle);
        QCOMPARE(h->fake.messages.shown[0].text, kDiscardQuestion);
        QCOMPARE(form.modeHeightTwips(), 5200);
        QCOMPARE(box(form, 0)->text(), QStringLiteral("x"));

        button(form, kBack)->click();  // Yes
        QCOMPARE(form.modeHeightTwips(), 4000);
        QVERIFY(editRowEmpty(form));
    }

    // A dropped link replaces an unregistered correction only as "戻る" would give it up.
    void aDropAsksBeforeReplacingUnregisteredText() {
        auto h = correctingRow(1);
        Form1& form = h->form1();
        box(form, 0)->setText(QStringLiteral("changed title"));
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
        QVERIFY(!drop());
        QCOMPARE(h->fake.messages.shown.size(), size_t(1));
        QCOMPARE(h->fake.messages.shown[0].title, kInquiryTitle);
        QCOMPARE(h->fake.messages.shown[0].text, kDiscardQuestion);
        QCOMPARE(box(form, 0)->text(), QStringLiteral("changed title"));
        QCOMPARE(box(form, 1)->text(), QStringLiteral("http://host/1"));
        QCOMPARE(h->shared.modifyMode, EditMode::Correcting);
        QVERIFY(form.session().hasUnregisteredText());

        QVERIFY(drop());  // Yes
        QCOMPARE(h->fake.messages.shown.size(), size_t(2));
        QCOMPARE(box(form, 0)->text(), QString());
        QCOMPARE(box(form, 1)->text(), QStringLiteral("https://dropped.example/"));
        QCOMPARE(h->shared.modifyMode, EditMode::Adding);
        QCOMPARE(h->store.entries[0][1][UrlField::url], QStringLiteral("http://host/1"));
    }

    void exitSavesAndEndsTheProgram() {
        auto h = started(storeWithEntries(0, 2));
        Form1& form = h->form1();
        h->store.entries[0][0][UrlField::title] = QStringLiteral("changed");
        button(form, kExit)->click();
        QVERIFY(h->fake.messages.shown.empty());
        QCOMPARE(h->storeIo.saves, 1);
        QCOMPARE(h->storeIo.saved.entries[0][0][UrlField::title], QStringLiteral("changed"));
        QVERIFY(h->fake.events.pendingRuns >= 1);
        QVERIFY(h->fake.tray.removes >= 1);
        QCOMPARE(h->endings, 1);
        QVERIFY(!form.isVisible() && !h->form2().isVisible() && !h->form3().isVisible());
    }

    void exitAsksAboutTypedTextAndNoKeepsEverythingOpen() {
        auto h = started(storeWithEntries(0, 2));
        Form1& form = h->form1();
        button(form, kUrlSetting)->click();
        box(form, 2)->setText(QStringLiteral("memo"));
        h->fake.messages.setNextAnswer(false);
        button(form, kExit)->click();
        QCOMPARE(h->fake.messages.shown.at(0).text, kDiscardQuestion);
        QCOMPARE(h->storeIo.saves, 0);
        QCOMPARE(h->endings, 0);
        QVERIFY(form.isVisible());

        button(form, kExit)->click();  // Yes: saved without the typed text
        QCOMPARE(h->storeIo.saves, 1);
        QCOMPARE(h->storeIo.saved.entries[0][2][UrlField::content], QString());
        QCOMPARE(h->endings, 1);
    }

    void aFailedSaveIsReportedAndTheProgramStaysOpen() {
        auto h = started(storeWithEntries(0, 2));
        Form1& form = h->form1();
        h->storeIo.saveOutcome = Failure{QStringLiteral("disk full")};
        button(form, kExit)->click();
        QCOMPARE(h->fake.messages.shown.size(), size_t(1));
        QCOMPARE(h->fake.messages.shown[0].title, kMessageTitle);
        QVERIFY(h->fake.messages.shown[0].text.endsWith(QStringLiteral("\r\ndisk full")));
        QCOMPARE(h->endings, 0);
        QVERIFY(form.isVisible() && !form.isMinimized());

        h->storeIo.saveOutcome = SaveOutcome();
        button(form, kExit)->click();
        QCOMPARE(h->endings, 1);
    }

    void windowManagerCloseIsRefused() {
        auto h = started(storeWithEntries(0, 1));
        QVERIFY(!h->form1().close());
        QVERIFY(h->form1().isVisible());
        QCOMPARE(h->endings, 0);
    }

    void doubleClickOpensTheSelectedEntry() {
        UrlStore store = storeWithEntries(2, 3);
        store.minimizeOnLaunch = 1;
        auto h = started(store);
        Form1& form = h->form1();
        tabs(form)->setCurrentIndex(2);
        h->shared.logoffTicks = 5;
        QTest::keyClick(list(form), Qt::Key_Return);  // nothing selected
        QVERIFY(h->launcher.opened.isEmpty());
        QCOMPARE(h->shared.logoffTicks, int16_t(0));

        h->shared.logoffTicks = 5;
        QListWidgetItem* item = list(form)->item(2);
        const QPoint at = list(form)->visualItemRect(item).center();
        QTest::mouseClick(list(form)->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list(form)->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(h->launcher.opened, QStringList{QStringLiteral("http://host/2")});
        QCOMPARE(h->shared.logoffTicks, int16_t(0));
        QVERIFY(form.isMinimized());
        QVERIFY(timer(form, "Timer1")->isActive());
        QCOMPARE(timer(form, "Timer1")->interval(), 60000);
    }

    void arrowsMoveTheSelectionAndReturnOpensIt() {
        auto h = started(storeWithEntries(0, 3));
        Form1& form = h->form1();
        list(form)->setCurrentRow(0);
        box(form, 0)->setText(QStringLiteral("typed"));
        list(form)->setFocus();
        QTest::keyClick(list(form), Qt::Key_Down);
        QCOMPARE(selectedRow(form), 1);
        QVERIFY(editRowEmpty(form));
        QVERIFY(h->launcher.opened.isEmpty());
        QTest::keyClick(list(form), Qt::Key_Return);
        QCOMPARE(h->launcher.opened, QStringList{QStringLiteral("http://host/1")});
    }

    void homePageStartsTheSiteMinimized() {
        auto h = started(storeWithEntries(0, 1));
        button(h->form1(), kHomePage)->click();
        QCOMPARE(h->fake.process.started.size(), size_t(1));
        QCOMPARE(h->fake.process.started[0].commandLine, "EXPLORER.EXE " + kSiteUrl);
        QCOMPARE(h->fake.process.started[0].style, WindowStyle::MinimizedFocus);
    }

    void logOffAndReturnInTheSameMode() {
        UrlStore store = storeWithEntries(0, 2);
        store.password = QStringLiteral("pw");
        auto h = std::make_unique<WindowHarness>();
        h->storeIo.loaded = store;
        h->start();
        h->form2().Text1->setText(QStringLiteral("pw"));
        Form1& form = h->form1();
        QVERIFY(form.isVisible());
        QVERIFY(button(form, kLogOff)->isEnabled());
        button(form, kUrlSetting)->click();
        box(form, 0)->setText(QStringLiteral("half done"));
        h->shared.logoffTicks = 3;

        button(form, kLogOff)->click();
        QVERIFY(!form.isVisible());
        QVERIFY(h->form2().isVisible());
        QCOMPARE(h->form2().Text1->text(), QString());
        QCOMPARE(h->shared.logoffTicks, int16_t(3));  // the button does not reset the counter

        QTest::keyClicks(h->form2().Text1, QStringLiteral("pw"));
        QVERIFY(form.isVisible());
        QCOMPARE(form.modeHeightTwips(), 5200);
        QCOMPARE(box(form, 0)->text(), QStringLiteral("half done"));
        QCOMPARE(h->shared.logoffTicks, int16_t(0));
    }

    void minimizedWindowMovesIntoTheTray() {
        auto h = started(storeWithEntries(0, 1));
        Form1& form = h->form1();
        QVERIFY(!timer(form, "Timer1")->isActive());
        form.Timer1_Timer();  // not minimized: nothing
        QCOMPARE(h->fake.tray.adds, 0);

        form.showMinimized();
        QVERIFY(timer(form, "Timer1")->isActive());
        QCOMPARE(timer(form, "Timer1")->interval(), 60000);
        form.showNormal();  // back within the minute
        QVERIFY(!timer(form, "Timer1")->isActive());

        form.showMinimized();
        form.Timer1_Timer();
        QCOMPARE(h->fake.tray.adds, 1);
        QCOMPARE(h->fake.tray.tip, QStringLiteral("Velandri"));
        QVERIFY(!form.isVisible());
        QVERIFY(!timer(form, "Timer1")->isActive());

        emit h->fake.tray.leftReleased();
        QVERIFY(form.isVisible());
        QVERIFY(!form.isMinimized());
        QVERIFY(!h->fake.tray.shown);
        QVERIFY(!timer(form, "Timer1")->isActive());
        QCOMPARE(form.frameGeometry().center(), form.screen()->geometry().center());
    }

    void trayIconWhileLoggedOffAsksForThePassword() {
        UrlStore store = storeWithEntries(0, 1);
        store.password = QStringLiteral("pw");
        auto h = started(store);
        h->form2().Text1->setText(QStringLiteral("pw"));
        Form1& form = h->form1();
        form.showMinimized();
        form.Timer1_Timer();
        QVERIFY(h->fake.tray.shown);
        button(form, kLogOff)->click();
        QVERIFY(h->form2().isVisible());

        emit h->fake.tray.leftReleased();
        QVERIFY(!form.isVisible());
        QVERIFY(h->form2().isVisible());
        QVERIFY(!h->fake.tray.shown);
        h->form2().Text1->setText(QStringLiteral("pw"));
        QVERIFY(form.isVisible());
        QVERIFY(!form.isMinimized());
    }

    void trayClicksAfterTheWindowsAreGoneReachNothing() {
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
            QVERIFY(windows.form1().isVisible());
        }
        emit fake.tray.leftReleased();
        emit fake.tray.rightPressed();
        QCOMPARE(fake.tray.poppedUp, nullptr);
        QCOMPARE(fake.events.pendingRuns, 0);
    }

    void withoutATrayTheWindowStaysMinimized() {
        auto h = started(storeWithEntries(0, 1));
        h->fake.tray.available = false;
        Form1& form = h->form1();
        form.showMinimized();
        form.Timer1_Timer();
        QCOMPARE(h->fake.tray.adds, 0);
        QVERIFY(form.isVisible());
        QVERIFY(form.isMinimized());
    }

    void trayMenuEndsWithoutSaving() {
        auto h = started(storeWithEntries(0, 1));
        Form1& form = h->form1();
        const int pendingBefore = h->fake.events.pendingRuns;
        emit h->fake.tray.rightPressed();
        QCOMPARE(h->fake.tray.poppedUp, menu(form));
        QVERIFY(h->fake.events.pendingRuns > pendingBefore);
        QCOMPARE(menu(form)->actions().size(), 1);
        QCOMPARE(menu(form)->actions()[0]->text(), QStringLiteral("終了"));

        menu(form)->actions()[0]->trigger();
        QCOMPARE(h->endings, 1);
        QCOMPARE(h->storeIo.saves, 0);
        QVERIFY(!form.isVisible());
    }

    // Events processed inside the load (the download window, the version check) may bring a
    // second start's request or more typing at the gate: they wait until the load is over.
    void nothingEntersTheLoadWhileItRuns_data() {
        QTest::addColumn<QString>("password");
        QTest::newRow("loaded at the start") << QString();
        QTest::newRow("loaded when the gate opens") << QStringLiteral("pw");
    }
    void nothingEntersTheLoadWhileItRuns() {
        QFETCH(QString, password);
        auto h = std::make_unique<WindowHarness>();
        h->storeIo.loaded = storeWithEntries(0, 1);
        h->storeIo.loaded.password = password;
        Form1& form = h->form1();
        bool shownInsideTheLoad = true;
        bool clockInsideTheLoad = true;
        h->updater.duringCheck = [&] {
            h->windows.bringToFront();
            h->form2().Text1->setText(QString());
            h->form2().Text1->setText(password);
            shownInsideTheLoad = form.isVisible();
            clockInsideTheLoad = timer(form, "Timer2")->isActive();
        };
        h->start();
        if (!password.isEmpty()) h->form2().Text1->setText(password);
        QVERIFY(!shownInsideTheLoad);
        QVERIFY(!clockInsideTheLoad);
        QCOMPARE(h->updater.calls, QStringList{QStringLiteral("checkVersion")});
        QVERIFY(form.isVisible());
        QVERIFY(!h->form2().isVisible());
        QVERIFY(timer(form, "Timer2")->isActive());
    }

    void autoLogoff() {
        UrlStore store = storeWithEntries(0, 1);
        store.password = QStringLiteral("pw");
        store.logoffMinutes = 1;
        auto h = std::make_unique<WindowHarness>();
        h->storeIo.loaded = store;
        h->start();
        h->form2().Text1->setText(QStringLiteral("pw"));
        Form1& form = h->form1();
        QVERIFY(timer(form, "Timer2")->isActive());
        QCOMPARE(timer(form, "Timer2")->interval(), 10000);

        for (int tick = 0; tick < 6; ++tick) form.Timer2_Timer();
        QVERIFY(form.isVisible());
        tabs(form)->setCurrentIndex(1);  // activity other than a launch does not delay it
        form.Timer2_Timer();
        QVERIFY(!form.isVisible());
        QVERIFY(h->form2().isVisible());
        QCOMPARE(h->shared.logoffTicks, int16_t(0));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
