#include <gtest/gtest.h>

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

class SearchBarTest : public testing::Test {
protected:
    void SetUp() override {
        h = std::make_unique<WindowHarness>();
        h->storeIo.loaded = storeWithEntries(0, 3);
        h->storeIo.loaded.entries[2][0] = {"1", "ニュース速報", "http://news.example/", ""};
        h->start();
        form().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
        box = form().findChild<QLineEdit*>(QStringLiteral("SearchBox"));
        ASSERT_TRUE(box);
        tabLines = lines(list(form()));
    }
    Form1& form() { return h->form1(); }

    std::unique_ptr<WindowHarness> h;
    QLineEdit* box = nullptr;
    QStringList tabLines;
};

TEST_F(SearchBarTest, CompositionIsNotSearched) {
    QTest::keyClick(list(form()), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(box->hasFocus());
    QInputMethodEvent composing(QStringLiteral("にゅーす"), {});
    QCoreApplication::sendEvent(box, &composing);
    ASSERT_EQ(lines(list(form())), tabLines);

    QInputMethodEvent committed;
    committed.setCommitString(QStringLiteral("にゅーす"));
    QCoreApplication::sendEvent(box, &committed);
    ASSERT_EQ(list(form())->count(), 1);
    ASSERT_TRUE(
        list(form())->item(0)->text().startsWith(QStringLiteral("tab3 ›   1 : ニュース速報")));
}

TEST_F(SearchBarTest, ResultRowsAreNotTheTabsRowsAndTheTabsRowComesBack) {
    list(form())->setCurrentRow(1);
    h->store.minimizeOnLaunch = 1;
    h->shared.logoffTicks = 5;
    QTest::keyClick(list(form()), Qt::Key_T);
    ASSERT_EQ(list(form())->count(), 4);  // three titles first, then a tab's name
    ASSERT_TRUE(!button(form(), kUp)->isEnabled());

    for (int step = 0; step < 3; ++step) QTest::keyClick(box, Qt::Key_Down);
    ASSERT_TRUE(!rowButtonsEnabled(form()));
    const QRect row = list(form())->visualItemRect(list(form())->item(3));
    QTest::mouseDClick(list(form())->viewport(), Qt::LeftButton, {}, row.center());
    ASSERT_EQ(h->launcher.opened, QStringList{QStringLiteral("http://news.example/")});
    ASSERT_EQ(h->shared.logoffTicks, 0);
    ASSERT_TRUE(form().isMinimized());

    QTest::keyClick(box, Qt::Key_Escape);
    ASSERT_TRUE(!box->isVisible());
    ASSERT_EQ(lines(list(form())), tabLines);
    ASSERT_EQ(selectedRow(form()), 1);
    ASSERT_TRUE(rowButtonsEnabled(form()));
}

TEST_F(SearchBarTest, AnotherTabOrControlEndsTheSearch) {
    QTest::keyClick(list(form()), Qt::Key_F, Qt::ControlModifier);
    const QRect firstRow = list(form())->visualItemRect(list(form())->item(0));
    QTest::mouseClick(list(form())->viewport(), Qt::LeftButton, {}, firstRow.center());
    ASSERT_TRUE(!box->isVisible());  // an empty box gives way to a click into the list
    ASSERT_TRUE(rowButtonsEnabled(form()));

    QTest::keyClick(list(form()), Qt::Key_T);
    tabs(form())->setCurrentIndex(2);
    ASSERT_TRUE(!box->isVisible());
    ASSERT_EQ(list(form())->count(), 1);
    list(form())->setCurrentRow(0);
    ASSERT_TRUE(rowButtonsEnabled(form()));

    QTest::keyClick(list(form()), Qt::Key_T);
    QTest::mouseClick(button(form(), 0), Qt::LeftButton);  // "URL設定"
    ASSERT_TRUE(!box->isVisible());
    ASSERT_TRUE(form().session().inEditMode());
    ASSERT_EQ(list(form())->count(), 1);
}
