#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <algorithm>

#include "window_harness.h"

using namespace velandri;

namespace {

enum { kApply = 0, kClose = 1 };

const QString kBrowserMessage = QStringLiteral(
    "Internet Explorer以外は、各自でブラウザをインストール・設定して下さい。\r\n"
    "標準フォルダにインストールされている必要があります。");

std::unique_ptr<WindowHarness> startedWithPassword(const QString& password) {
    auto h = std::make_unique<WindowHarness>();
    h->storeIo.loaded = storeWithEntries(0, 2);
    h->storeIo.loaded.password = password;
    h->start();
    return h;
}

// Passes the gate and opens the settings window from the main window.
Form3& openSettings(WindowHarness& h) {
    if (!h.form1().isVisible()) h.form2().Text1->setText(h.store.password);
    button(h.form1(), 4)->click();
    h.form3().Form_Activate();
    return h.form3();
}

void typePasswords(Form3& form, const QString& first, const QString& second) {
    box(form, 0)->setText(first);
    box(form, 1)->setText(second);
}

// Clicks the option's round indicator, as the user does.
void clickOption(Form3& form, int index) {
    QRadioButton* option = form.Option1[index];
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
}

bool settingsWindowExists() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](const QWidget* window) {
        return window->objectName() == QStringLiteral("Form3");
    });
}

QStringList messageTexts(const WindowHarness& h) {
    QStringList texts;
    for (const ShownMessage& m : h.fake.messages.shown) {
        if (m.title != kMessageTitle || m.question) texts << "unexpected " + m.title;
        texts << m.text;
    }
    return texts;
}

}  // namespace

class GateSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void gateOpensOnTheExactPasswordOnly() {
        auto h = startedWithPassword(QStringLiteral("Abc"));
        Form2& gate = h->form2();
        QVERIFY(gate.isVisible());
        QVERIFY(!h->form1().isVisible());
        QCOMPARE(gate.windowTitle(), QStringLiteral("パスワード入力"));

        QTest::keyClicks(gate.Text1, QStringLiteral("ab"));
        QCOMPARE(gate.gate.failCount, int16_t(0));
        QTest::keyClicks(gate.Text1, QStringLiteral("c"));  // other case
        QCOMPARE(gate.gate.failCount, int16_t(1));
        gate.Text1->setText(QStringLiteral("Abcd"));  // pasted, longer
        QCOMPARE(gate.gate.failCount, int16_t(1));
        QVERIFY(!h->form1().isVisible());

        h->shared.logoffTicks = 9;
        gate.Text1->setText(QStringLiteral("Abc"));
        QVERIFY(h->form1().isVisible());
        QVERIFY(!gate.isVisible());
        QCOMPARE(gate.gate.failCount, int16_t(0));
        QCOMPARE(h->shared.logoffTicks, int16_t(0));
        QCOMPARE(gate.Text1->text(), QStringLiteral("Abc"));
    }

    void gateKeepsThePasswordLoadedAtStart() {
        auto h = startedWithPassword(QStringLiteral("old"));
        h->form2().Text1->setText(QStringLiteral("old"));
        h->store.password = QStringLiteral("new");
        button(h->form1(), 3)->click();
        h->form2().Text1->setText(QStringLiteral("new"));
        QVERIFY(!h->form1().isVisible());
        h->form2().Text1->setText(QStringLiteral("old"));
        QVERIFY(h->form1().isVisible());
    }

    void noPasswordOpensTheMainWindowDirectly() {
        auto h = startedWithPassword(QString());
        QVERIFY(h->form1().isVisible());
        QVERIFY(!h->form2().isVisible());

        // A password set during this run: the empty text opens the gate after a log-off.
        h->store.password = QStringLiteral("set");
        button(h->form1(), 3)->setEnabled(true);
        button(h->form1(), 3)->click();
        QVERIFY(h->form2().isVisible());
        QTest::keyClicks(h->form2().Text1, QStringLiteral("x"));
        QTest::keyClick(h->form2().Text1, Qt::Key_Backspace);
        QVERIFY(h->form1().isVisible());
    }

    void passwordBoxesEchoStarsAndStopAtEight() {
        auto h = startedWithPassword(QStringLiteral("abc"));
        QLineEdit* box = h->form2().Text1;
        QTest::keyClicks(box, QStringLiteral("xy"));
        QCOMPARE(box->displayText(), QStringLiteral("**"));
        box->clear();
        QTest::keyClicks(box, QStringLiteral("0123456789"));
        QCOMPARE(box->text(), QStringLiteral("01234567"));
        box->clear();
        box->insert(QStringLiteral("abcdefghij"));  // as a paste does
        QCOMPARE(box->text(), QStringLiteral("abcdefgh"));

        Form3& settings = openSettings(*h);
        for (QLineEdit* field : settings.Text1) {
            field->insert(QStringLiteral("123456789"));
            QCOMPARE(field->displayText(), QStringLiteral("********"));
        }
    }

    void aDamagedDataFileIsReportedAtStart() {
        auto h = std::make_unique<WindowHarness>();
        h->storeIo.loaded = storeWithEntries(0, 1);
        h->storeIo.loadOutcome =
            LoadOutcome{QStringLiteral("/data/url"), Failure{QStringLiteral("cut")}};
        h->start();
        QCOMPARE(h->fake.messages.shown.size(), size_t(1));
        QCOMPARE(h->fake.messages.shown[0].title, kMessageTitle);
        QVERIFY(h->fake.messages.shown[0].text.endsWith(QStringLiteral("\r\ncut")));
        QVERIFY(h->form1().isVisible());
    }

    void activationComesFromTheWindowSystem() {
        UrlStore store = storeWithEntries(0, 1);
        store.browser = 2;
        auto h = std::make_unique<WindowHarness>();
        h->storeIo.loaded = store;
        h->start();
        button(h->form1(), 4)->click();
        Form3& form = h->form3();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTRY_VERIFY(form.Option1[2]->isChecked());
        QCOMPARE(form.focusWidget(), box(form, 0));

        form.Text2[1]->setText(QStringLiteral("renamed"));
        button(form, kApply)->click();
        QVERIFY(!form.isVisible());
        QTRY_COMPARE(tabs(h->form1())->tabText(1), QStringLiteral("renamed"));
    }

    void closingThePasswordWindowEndsWithoutSaving() {
        auto h = startedWithPassword(QStringLiteral("abc"));
        for (int i = 0; i < 6; ++i) h->form2().Text1->setText(QStringLiteral("xy%1").arg(i));
        h->form2().close();
        QCOMPARE(h->endings, 1);
        QCOMPARE(h->storeIo.saves, 0);
        QVERIFY(!h->form1().isVisible() && !h->form2().isVisible() && !h->form3().isVisible());
    }

    void firstOpeningWithoutPassword() {
        UrlStore store = storeWithEntries(0, 1);
        store.logoffMinutes = 15;
        store.topMost = 1;
        store.browser = 3;
        auto h = std::make_unique<WindowHarness>();
        h->storeIo.loaded = store;
        h->start();
        Form3& form = openSettings(*h);
        QVERIFY(form.isVisible());
        QCOMPARE(form.windowTitle(), QStringLiteral("各種設定"));
        QVERIFY(!form.Text3->isEnabled());
        QCOMPARE(h->store.logoffMinutes, int16_t(0));
        QCOMPARE(form.Text3->text(), QStringLiteral("0"));
        QVERIFY(form.Check1->isChecked());
        QVERIFY(!form.Check3->isEnabled());
        QVERIFY(form.Option1[3]->isChecked());
        QVERIFY(h->fake.messages.shown.empty());
        const auto& calls = h->fake.windows.calls;
        QVERIFY(std::find(calls.begin(), calls.end(),
                          std::make_pair<QWidget*, bool>(&form, true)) != calls.end());
    }

    void passwordRules() {
        auto h = startedWithPassword(QStringLiteral("abc"));
        Form3& form = openSettings(*h);

        typePasswords(form, QString(), QStringLiteral("only"));
        button(form, kApply)->click();
        QCOMPARE(h->store.password, QStringLiteral("abc"));
        QVERIFY(h->fake.messages.shown.empty());

        openSettings(*h);
        typePasswords(form, QStringLiteral("new"), QString());
        QVERIFY(!form.Text3->isEnabled());
        button(form, kApply)->click();
        QCOMPARE(messageTexts(*h), QStringList{QStringLiteral("確認用パスワード欄が空欄です。")});
        QVERIFY(form.isVisible());

        typePasswords(form, QStringLiteral("new"), QStringLiteral("New"));
        QVERIFY(form.Text3->isEnabled());
        button(form, kApply)->click();
        QCOMPARE(messageTexts(*h).last(),
                 QStringLiteral("入力した2つのパスワードが一致しません。\r\n再度入力して下さい。"));
        QVERIFY(box(form, 0)->text().isEmpty() && box(form, 1)->text().isEmpty());
        QVERIFY(!form.Text3->isEnabled());
        QCOMPARE(h->store.password, QStringLiteral("abc"));

        typePasswords(form, QStringLiteral(" new"), QStringLiteral(" new"));
        button(form, kApply)->click();
        QCOMPARE(h->store.password, QStringLiteral(" new"));
        QVERIFY(!form.isVisible());
    }

    void clearingThePassword() {
        auto h = startedWithPassword(QStringLiteral("abc"));
        Form3& form = openSettings(*h);
        QVERIFY(form.Check3->isEnabled());
        form.Check3->setChecked(true);
        typePasswords(form, QStringLiteral("next"), QString());
        button(form, kApply)->click();
        QCOMPARE(h->store.password, QString());  // emptied before the message
        QCOMPARE(h->fake.messages.shown.size(), size_t(1));

        typePasswords(form, QStringLiteral("next"), QStringLiteral("next"));
        button(form, kApply)->click();
        QCOMPARE(h->store.password, QStringLiteral("next"));
        QVERIFY(form.Check3->isChecked());
    }

    void closeAppliesOnlyThePasswordAndApplyAppliesAll() {
        auto h = startedWithPassword(QStringLiteral("abc"));
        Form3& form = openSettings(*h);
        form.Check1->setChecked(true);
        form.Check2->setChecked(true);
        form.Text3->setText(QStringLiteral("5"));
        form.Text2[0]->setText(QStringLiteral("ニュース"));
        typePasswords(form, QStringLiteral("pw2"), QStringLiteral("pw2"));
        button(form, kClose)->click();
        QCOMPARE(h->store.password, QStringLiteral("pw2"));
        QCOMPARE(h->store.topMost, int16_t(0));
        QCOMPARE(h->store.minimizeOnLaunch, int16_t(0));
        QCOMPARE(h->store.logoffMinutes, int16_t(0));
        QCOMPARE(h->store.tabNames[0], QStringLiteral("tab1"));

        openSettings(*h);
        QCOMPARE(form.Text2[0]->text(), QStringLiteral("ニュース"));  // kept while hidden
        h->fake.windows.calls.clear();
        button(form, kApply)->click();
        QCOMPARE(h->store.topMost, int16_t(1));
        QCOMPARE(h->store.minimizeOnLaunch, int16_t(1));
        QCOMPARE(h->store.logoffMinutes, int16_t(5));
        QCOMPARE(h->store.tabNames[0], QStringLiteral("ニュース"));
        QCOMPARE(h->fake.windows.calls.size(), size_t(1));
        QCOMPARE(h->fake.windows.calls[0].first, &h->form1());
        QVERIFY(h->fake.windows.calls[0].second);
        activate(h->form1());
        QCOMPARE(tabs(h->form1())->tabText(0), QStringLiteral("ニュース"));

        openSettings(*h);
        form.Check1->setChecked(false);
        button(form, kApply)->click();
        QVERIFY(!h->fake.windows.calls.back().second);  // out of top-most at once
    }

    void minutesAreLimitedToSixty() {
        auto h = startedWithPassword(QStringLiteral("abc"));
        Form3& form = openSettings(*h);
        h->store.logoffMinutes = 10;
        form.Text3->setText(QStringLiteral("75"));
        h->shared.logoffTicks = 8;
        button(form, kClose)->click();
        QCOMPARE(form.Text3->text(), QStringLiteral("60"));
        QCOMPARE(h->shared.logoffTicks, int16_t(0));
        QCOMPARE(h->store.logoffMinutes, int16_t(10));

        openSettings(*h);
        form.Text3->setText(QStringLiteral("75"));
        button(form, kApply)->click();
        QCOMPARE(h->store.logoffMinutes, int16_t(60));

        openSettings(*h);
        form.Text3->clear();
        QTest::keyClicks(form.Text3, QStringLiteral("-7x"));
        QCOMPARE(form.Text3->text(), QStringLiteral("7"));
        QTest::keyClicks(form.Text3, QStringLiteral("99"));
        QCOMPARE(form.Text3->text(), QStringLiteral("79"));
    }

    void browserChoiceAndItsMessage() {
        auto h = startedWithPassword(QString());
        Form3& form = openSettings(*h);
        clickOption(form, 0);  // already chosen
        QVERIFY(h->fake.messages.shown.empty());
        clickOption(form, 1);
        clickOption(form, 2);
        QCOMPARE(messageTexts(*h), (QStringList{kBrowserMessage, kBrowserMessage}));
        QCOMPARE(h->store.browser, int16_t(2));
        clickOption(form, 0);
        QCOMPARE(h->fake.messages.shown.size(), size_t(2));
        clickOption(form, 4);
        button(form, kClose)->click();
        QCOMPARE(h->store.browser, int16_t(4));
        openSettings(*h);
        QCOMPARE(h->fake.messages.shown.size(), size_t(3));  // reselecting shows nothing
        QVERIFY(form.Option1[4]->isChecked());
    }

    void reopeningEmptiesThePasswordBoxes() {
        auto h = startedWithPassword(QStringLiteral("abc"));
        Form3& form = openSettings(*h);
        QVERIFY(form.Text3->isEnabled());
        typePasswords(form, QStringLiteral("a"), QStringLiteral("b"));
        form.hide();
        openSettings(*h);
        QVERIFY(box(form, 0)->text().isEmpty() && box(form, 1)->text().isEmpty());
        QVERIFY(!form.Text3->isEnabled());
        typePasswords(form, QStringLiteral("a"), QStringLiteral("a"));
        QVERIFY(form.Text3->isEnabled());
    }

    void tabNameBoxSelectsItsWholeTextOnClick() {
        auto h = startedWithPassword(QString());
        Form3& form = openSettings(*h);
        QLineEdit* box = form.Text2[3];
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
        QTRY_COMPARE(box->selectedText(), QStringLiteral("tab4"));
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() / 2, box->height() / 2));
        QTRY_COMPARE(box->selectedText(), QStringLiteral("tab4"));
    }

    void settingsWindowIsMadeWhenFirstWanted() {
        auto h = startedWithPassword(QString());
        QVERIFY(!settingsWindowExists());
        button(h->form1(), 4)->click();
        QVERIFY(settingsWindowExists());
        QVERIFY(h->form3().isVisible());
    }

    void endWithoutTheSettingsWindowMakesNone() {
        auto h = startedWithPassword(QString());
        chooseMenuEnd(h->form1());
        QCOMPARE(h->endings, 1);
        QVERIFY(!settingsWindowExists());
        chooseMenuEnd(h->form1());  // a second request ends nothing more
        QCOMPARE(h->endings, 1);
    }
};

QTEST_MAIN(GateSettingsTest)
#include "gate_settings_test.moc"
