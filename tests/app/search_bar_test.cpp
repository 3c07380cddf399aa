#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "window_harness.h"

using namespace velandri;

namespace {

QStringList lines(const QListWidget* list) {
    QStringList shown;
    for (int row = 0; row < list->count(); ++row) shown << list->item(row)->text();
    return shown;
}

bool rowButtonsEnabled(const Form1& form) {
    return button(form, kUp)->isEnabled() && button(form, kDown)->isEnabled() &&
           button(form, kDelete)->isEnabled() && button(form, kCorrect)->isEnabled();
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
        tabLines = lines(list(form()));
    }

    void compositionIsNotSearched() {
        QTest::keyClick(list(form()), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(box->hasFocus());
        QInputMethodEvent composing(QStringLiteral("にゅーす"), {});
        QCoreApplication::sendEvent(box, &composing);
        QCOMPARE(lines(list(form())), tabLines);

        QInputMethodEvent committed;
        committed.setCommitString(QStringLiteral("にゅーす"));
        QCoreApplication::sendEvent(box, &committed);
        QCOMPARE(list(form())->count(), 1);
        QVERIFY(
            list(form())->item(0)->text().startsWith(QStringLiteral("tab3 ›   1 : ニュース速報")));
    }

    void resultRowsAreNotTheTabsRowsAndTheTabsRowComesBack() {
        list(form())->setCurrentRow(1);
        h->store.minimizeOnLaunch = 1;
        h->shared.logoffTicks = 5;
        QTest::keyClick(list(form()), Qt::Key_T);
        QCOMPARE(list(form())->count(), 4);  // three titles first, then a tab's name
        QVERIFY(!button(form(), kUp)->isEnabled());

        for (int step = 0; step < 3; ++step) QTest::keyClick(box, Qt::Key_Down);
        QVERIFY(!rowButtonsEnabled(form()));
        const QRect row = list(form())->visualItemRect(list(form())->item(3));
        QTest::mouseDClick(list(form())->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(h->launcher.opened, QStringList{QStringLiteral("http://news.example/")});
        QCOMPARE(h->shared.logoffTicks, 0);
        QVERIFY(form().isMinimized());

        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(!box->isVisible());
        QCOMPARE(lines(list(form())), tabLines);
        QCOMPARE(selectedRow(form()), 1);
        QVERIFY(rowButtonsEnabled(form()));
    }

    void anotherTabOrControlEndsTheSearch() {
        QTest::keyClick(list(form()), Qt::Key_F, Qt::ControlModifier);
        const QRect firstRow = list(form())->visualItemRect(list(form())->item(0));
        QTest::mouseClick(list(form())->viewport(), Qt::LeftButton, {}, firstRow.center());
        QVERIFY(!box->isVisible());  // an empty box gives way to a click into the list
        QVERIFY(rowButtonsEnabled(form()));

        QTest::keyClick(list(form()), Qt::Key_T);
        tabs(form())->setCurrentIndex(2);
        QVERIFY(!box->isVisible());
        QCOMPARE(list(form())->count(), 1);
        list(form())->setCurrentRow(0);
        QVERIFY(rowButtonsEnabled(form()));

        QTest::keyClick(list(form()), Qt::Key_T);
        QTest::mouseClick(button(form(), 0), Qt::LeftButton);  // "URL設定"
        QVERIFY(!box->isVisible());
        QVERIFY(form().session().inEditMode());
        QCOMPARE(list(form())->count(), 1);
    }

private:
    Form1& form() { return h->form1(); }

    std::unique_ptr<WindowHarness> h;
    QLineEdit* box = nullptr;
    QStringList tabLines;
};

QTEST_MAIN(SearchBarTest)
#include "search_bar_test.moc"
