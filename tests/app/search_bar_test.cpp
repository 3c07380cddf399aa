#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "window_harness.h"

using namespace velandri;

namespace {

enum { kUp = 1, kDown = 2, kDelete = 7, kCorrect = 9 };

QStringList lines(const QListWidget* list) {
    QStringList shown;
    for (int row = 0; row < list->count(); ++row) shown << list->item(row)->text();
    return shown;
}

bool rowButtonsEnabled(const Form1& form) {
    return form.Command1[kUp]->isEnabled() && form.Command1[kDown]->isEnabled() &&
           form.Command1[kDelete]->isEnabled() && form.Command1[kCorrect]->isEnabled();
}

}  // namespace

class SearchBarTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        h = std::make_unique<WindowHarness>();
        h->storeIo.loaded = storeWithEntries(0, 3);
        h->storeIo.loaded.entries[2][0] = {"1", "ニュース速報", "http://news.example/", ""};
        h->start();
        form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
        box = form().findChild<QLineEdit*>(QStringLiteral("SearchBox"));
        QVERIFY(box);
        tabLines = lines(form().List1);
    }

    void compositionIsNotSearched() {
        QTest::keyClick(form().List1, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(box->hasFocus());
        QInputMethodEvent composing(QStringLiteral("にゅーす"), {});
        QCoreApplication::sendEvent(box, &composing);
        QCOMPARE(lines(form().List1), tabLines);

        QInputMethodEvent committed;
        committed.setCommitString(QStringLiteral("にゅーす"));
        QCoreApplication::sendEvent(box, &committed);
        QCOMPARE(form().List1->count(), 1);
        QVERIFY(
            form().List1->item(0)->text().startsWith(QStringLiteral("tab3 ›   1 : ニュース速報")));
    }

    void resultRowsAreNotTheTabsRowsAndTheTabsRowComesBack() {
        form().List1->setCurrentRow(1);
        h->store.minimizeOnLaunch = 1;
        h->shared.logoffTicks = 5;
        QTest::keyClick(form().List1, Qt::Key_T);
        QCOMPARE(form().List1->count(), 4);  // three titles first, then a tab's name
        QVERIFY(!form().Command1[kUp]->isEnabled());

        for (int step = 0; step < 3; ++step) QTest::keyClick(box, Qt::Key_Down);
        QVERIFY(!rowButtonsEnabled(form()));
        const QRect row = form().List1->visualItemRect(form().List1->item(3));
        QTest::mouseDClick(form().List1->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(h->launcher.opened, QStringList{QStringLiteral("http://news.example/")});
        QCOMPARE(h->shared.logoffTicks, 0);
        QVERIFY(form().isMinimized());

        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(!box->isVisible());
        QCOMPARE(lines(form().List1), tabLines);
        QCOMPARE(form().selectedRow(), 1);
        QVERIFY(rowButtonsEnabled(form()));
    }

    void anotherTabOrControlEndsTheSearch() {
        QTest::keyClick(form().List1, Qt::Key_F, Qt::ControlModifier);
        const QRect firstRow = form().List1->visualItemRect(form().List1->item(0));
        QTest::mouseClick(form().List1->viewport(), Qt::LeftButton, {}, firstRow.center());
        QVERIFY(!box->isVisible());  // an empty box gives way to a click into the list
        QVERIFY(rowButtonsEnabled(form()));

        QTest::keyClick(form().List1, Qt::Key_T);
        form().TabStrip1->setCurrentIndex(2);
        QVERIFY(!box->isVisible());
        QCOMPARE(form().List1->count(), 1);
        form().List1->setCurrentRow(0);
        QVERIFY(rowButtonsEnabled(form()));

        QTest::keyClick(form().List1, Qt::Key_T);
        QTest::mouseClick(form().Command1[0], Qt::LeftButton);  // "URL設定"
        QVERIFY(!box->isVisible());
        QVERIFY(form().inEditMode());
        QCOMPARE(form().List1->count(), 1);
    }

private:
    Form1& form() { return h->form1(); }

    std::unique_ptr<WindowHarness> h;
    QLineEdit* box = nullptr;
    QStringList tabLines;
};

QTEST_MAIN(SearchBarTest)
#include "search_bar_test.moc"
