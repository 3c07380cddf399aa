#include <gtest/gtest.h>

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
    if (!h.form1().isVisible()) passwordBox(h.form2())->setText(h.store.password);
    button(h.form1(), kSettings)->click();
    h.form3().Form_Activate();
    return h.form3();
}

void typePasswords(Form3& form, const QString& first, const QString& second) {
    box(form, 0)->setText(first);
    box(form, 1)->setText(second);
}

// Clicks the option's round indicator, as the user does.
void clickOption(Form3& form, int index) {
    QRadioButton* button = option(form, index);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
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

TEST(GateSettingsTest, GateOpensOnTheExactPasswordOnly) {
    auto h = startedWithPassword(QStringLiteral("Abc"));
    Form2& gate = h->form2();
    ASSERT_TRUE(gate.isVisible());
    ASSERT_TRUE(!h->form1().isVisible());
    ASSERT_EQ(gate.windowTitle(), QStringLiteral("パスワード入力"));

    QTest::keyClicks(passwordBox(gate), QStringLiteral("ab"));
    ASSERT_EQ(gate.gate.failCount, int16_t(0));
    QTest::keyClicks(passwordBox(gate), QStringLiteral("c"));  // other case
    ASSERT_EQ(gate.gate.failCount, int16_t(1));
    passwordBox(gate)->setText(QStringLiteral("Abcd"));  // pasted, longer
    ASSERT_EQ(gate.gate.failCount, int16_t(1));
    ASSERT_TRUE(!h->form1().isVisible());

    h->shared.logoffTicks = 9;
    passwordBox(gate)->setText(QStringLiteral("Abc"));
    ASSERT_TRUE(h->form1().isVisible());
    ASSERT_TRUE(!gate.isVisible());
    ASSERT_EQ(gate.gate.failCount, int16_t(0));
    ASSERT_EQ(h->shared.logoffTicks, int16_t(0));
    ASSERT_EQ(passwordBox(gate)->text(), QStringLiteral("Abc"));
}

TEST(GateSettingsTest, GateKeepsThePasswordLoadedAtStart) {
    auto h = startedWithPassword(QStringLiteral("old"));
    passwordBox(h->form2())->setText(QStringLiteral("old"));
    h->store.password = QStringLiteral("new");
    button(h->form1(), kLogOff)->click();
    passwordBox(h->form2())->setText(QStringLiteral("new"));
    ASSERT_TRUE(!h->form1().isVisible());
    passwordBox(h->form2())->setText(QStringLiteral("old"));
    ASSERT_TRUE(h->form1().isVisible());
}

TEST(GateSettingsTest, NoPasswordOpensTheMainWindowDirectly) {
    auto h = startedWithPassword(QString());
    ASSERT_TRUE(h->form1().isVisible());
    ASSERT_TRUE(!h->form2().isVisible());

    // A password set during this run: the empty text opens the gate after a log-off.
    h->store.password = QStringLiteral("set");
    button(h->form1(), kLogOff)->setEnabled(true);
    button(h->form1(), kLogOff)->click();
    ASSERT_TRUE(h->form2().isVisible());
    QTest::keyClicks(passwordBox(h->form2()), QStringLiteral("x"));
    QTest::keyClick(passwordBox(h->form2()), Qt::Key_Backspace);
    ASSERT_TRUE(h->form1().isVisible());
}

TEST(GateSettingsTest, PasswordBoxesEchoStarsAndStopAtEight) {
    auto h = startedWithPassword(QStringLiteral("abc"));
    QLineEdit* box = passwordBox(h->form2());
    QTest::keyClicks(box, QStringLiteral("xy"));
    ASSERT_EQ(box->displayText(), QStringLiteral("**"));
    box->clear();
    QTest::keyClicks(box, QStringLiteral("0123456789"));
    ASSERT_EQ(box->text(), QStringLiteral("01234567"));
    box->clear();
    box->insert(QStringLiteral("abcdefghij"));  // as a paste does
    ASSERT_EQ(box->text(), QStringLiteral("abcdefgh"));

    Form3& settings = openSettings(*h);
    for (QLineEdit* field : {velandri::box(settings, 0), velandri::box(settings, 1)}) {
        field->insert(QStringLiteral("123456789"));
        ASSERT_EQ(field->displayText(), QStringLiteral("********"));
    }
}

TEST(GateSettingsTest, ADamagedDataFileIsReportedAtStart) {
    auto h = std::make_unique<WindowHarness>();
    h->storeIo.loaded = storeWithEntries(0, 1);
    h->storeIo.loadOutcome = Failure{FailureKind::dataFileUnreadable,
                                     QStringLiteral("cannot read /data/url: cut"),
                                     {QStringLiteral("/data/url"), QStringLiteral("cut")}};
    h->start();
    ASSERT_EQ(h->fake.messages.shown.size(), size_t(1));
    ASSERT_EQ(h->fake.messages.shown[0].title, kMessageTitle);
    ASSERT_EQ(h->fake.messages.shown[0].text,
              QStringLiteral("データファイルを最後まで読めませんでした。\r\n"
                             "データファイル /data/url を読み込めません: cut"));
    ASSERT_TRUE(h->form1().isVisible());
}

TEST(GateSettingsTest, ActivationComesFromTheWindowSystem) {
    UrlStore store = storeWithEntries(0, 1);
    store.browser = 2;
    auto h = std::make_unique<WindowHarness>();
    h->storeIo.loaded = store;
    h->start();
    button(h->form1(), kSettings)->click();
    Form3& form = h->form3();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    ASSERT_TRUE_SOON(option(form, 2)->isChecked());
    ASSERT_EQ(form.focusWidget(), box(form, 0));

    tabNameBox(form, 1)->setText(QStringLiteral("renamed"));
    button(form, kApply)->click();
    ASSERT_TRUE(!form.isVisible());
    ASSERT_EQ_SOON(tabs(h->form1())->tabText(1), QStringLiteral("renamed"));
}

TEST(GateSettingsTest, ClosingThePasswordWindowEndsWithoutSaving) {
    auto h = startedWithPassword(QStringLiteral("abc"));
    for (int i = 0; i < 6; ++i) passwordBox(h->form2())->setText(QStringLiteral("xy%1").arg(i));
    h->form2().close();
    ASSERT_EQ(h->endings, 1);
    ASSERT_EQ(h->storeIo.saves, 0);
    ASSERT_TRUE(!h->form1().isVisible() && !h->form2().isVisible() && !h->form3().isVisible());
}

TEST(GateSettingsTest, FirstOpeningWithoutPassword) {
    UrlStore store = storeWithEntries(0, 1);
    store.logoffMinutes = 15;
    store.topMost = 1;
    store.browser = 3;
    auto h = std::make_unique<WindowHarness>();
    h->storeIo.loaded = store;
    h->start();
    Form3& form = openSettings(*h);
    ASSERT_TRUE(form.isVisible());
    ASSERT_EQ(form.windowTitle(), QStringLiteral("各種設定"));
    ASSERT_TRUE(!minutesBox(form)->isEnabled());
    ASSERT_EQ(h->store.logoffMinutes, int16_t(0));
    ASSERT_EQ(minutesBox(form)->text(), QStringLiteral("0"));
    ASSERT_TRUE(flag(form, "Check1")->isChecked());
    ASSERT_TRUE(!flag(form, "Check3")->isEnabled());
    ASSERT_TRUE(option(form, 3)->isChecked());
    ASSERT_TRUE(h->fake.messages.shown.empty());
    const auto& calls = h->fake.windows.calls;
    ASSERT_TRUE(std::find(calls.begin(), calls.end(),
                          std::make_pair<QWidget*, bool>(&form, true)) != calls.end());
}

TEST(GateSettingsTest, PasswordRules) {
    auto h = startedWithPassword(QStringLiteral("abc"));
    Form3& form = openSettings(*h);

    typePasswords(form, QString(), QStringLiteral("only"));
    button(form, kApply)->click();
    ASSERT_EQ(h->store.password, QStringLiteral("abc"));
    ASSERT_TRUE(h->fake.messages.shown.empty());

    openSettings(*h);
    typePasswords(form, QStringLiteral("new"), QString());
    ASSERT_TRUE(!minutesBox(form)->isEnabled());
    button(form, kApply)->click();
    ASSERT_EQ(messageTexts(*h), QStringList{QStringLiteral("確認用パスワード欄が空欄です。")});
    ASSERT_TRUE(form.isVisible());

    typePasswords(form, QStringLiteral("new"), QStringLiteral("New"));
    ASSERT_TRUE(minutesBox(form)->isEnabled());
    button(form, kApply)->click();
    ASSERT_EQ(messageTexts(*h).last(),
              QStringLiteral("入力した2つのパスワードが一致しません。\r\n再度入力して下さい。"));
    ASSERT_TRUE(box(form, 0)->text().isEmpty() && box(form, 1)->text().isEmpty());
    ASSERT_TRUE(!minutesBox(form)->isEnabled());
    ASSERT_EQ(h->store.password, QStringLiteral("abc"));

    typePasswords(form, QStringLiteral(" new"), QStringLiteral(" new"));
    button(form, kApply)->click();
    ASSERT_EQ(h->store.password, QStringLiteral(" new"));
    ASSERT_TRUE(!form.isVisible());
}

TEST(GateSettingsTest, ClearingThePassword) {
    auto h = startedWithPassword(QStringLiteral("abc"));
    Form3& form = openSettings(*h);
    ASSERT_TRUE(flag(form, "Check3")->isEnabled());
    flag(form, "Check3")->setChecked(true);
    typePasswords(form, QStringLiteral("next"), QString());
    button(form, kApply)->click();
    ASSERT_EQ(h->store.password, QString());  // emptied before the message
    ASSERT_EQ(h->fake.messages.shown.size(), size_t(1));

    typePasswords(form, QStringLiteral("next"), QStringLiteral("next"));
    button(form, kApply)->click();
    ASSERT_EQ(h->store.password, QStringLiteral("next"));
    ASSERT_TRUE(flag(form, "Check3")->isChecked());
}

TEST(GateSettingsTest, CloseAppliesOnlyThePasswordAndApplyAppliesAll) {
    auto h = startedWithPassword(QStringLiteral("abc"));
    Form3& form = openSettings(*h);
    flag(form, "Check1")->setChecked(true);
    flag(form, "Check2")->setChecked(true);
    minutesBox(form)->setText(QStringLiteral("5"));
    tabNameBox(form, 0)->setText(QStringLiteral("ニュース"));
    typePasswords(form, QStringLiteral("pw2"), QStringLiteral("pw2"));
    button(form, kClose)->click();
    ASSERT_EQ(h->store.password, QStringLiteral("pw2"));
    ASSERT_EQ(h->store.topMost, int16_t(0));
    ASSERT_EQ(h->store.minimizeOnLaunch, int16_t(0));
    ASSERT_EQ(h->store.logoffMinutes, int16_t(0));
    ASSERT_EQ(h->store.tabNames[0], QStringLiteral("tab1"));

    openSettings(*h);
    ASSERT_EQ(tabNameBox(form, 0)->text(), QStringLiteral("ニュース"));  // kept while hidden
    h->fake.windows.calls.clear();
    button(form, kApply)->click();
    ASSERT_EQ(h->store.topMost, int16_t(1));
    ASSERT_EQ(h->store.minimizeOnLaunch, int16_t(1));
    ASSERT_EQ(h->store.logoffMinutes, int16_t(5));
    ASSERT_EQ(h->store.tabNames[0], QStringLiteral("ニュース"));
    ASSERT_EQ(h->fake.windows.calls.size(), size_t(1));
    ASSERT_EQ(h->fake.windows.calls[0].first, &h->form1());
    ASSERT_TRUE(h->fake.windows.calls[0].second);
    activate(h->form1());
    ASSERT_EQ(tabs(h->form1())->tabText(0), QStringLiteral("ニュース"));

    openSettings(*h);
    flag(form, "Check1")->setChecked(false);
    button(form, kApply)->click();
    ASSERT_TRUE(!h->fake.windows.calls.back().second);  // out of top-most at once
}

TEST(GateSettingsTest, MinutesAreLimitedToSixty) {
    auto h = startedWithPassword(QStringLiteral("abc"));
    Form3& form = openSettings(*h);
    h->store.logoffMinutes = 10;
    minutesBox(form)->setText(QStringLiteral("75"));
    h->shared.logoffTicks = 8;
    button(form, kClose)->click();
    ASSERT_EQ(minutesBox(form)->text(), QStringLiteral("60"));
    ASSERT_EQ(h->shared.logoffTicks, int16_t(0));
    ASSERT_EQ(h->store.logoffMinutes, int16_t(10));

    openSettings(*h);
    minutesBox(form)->setText(QStringLiteral("75"));
    button(form, kApply)->click();
    ASSERT_EQ(h->store.logoffMinutes, int16_t(60));

    openSettings(*h);
    minutesBox(form)->clear();
    QTest::keyClicks(minutesBox(form), QStringLiteral("-7x"));
    ASSERT_EQ(minutesBox(form)->text(), QStringLiteral("7"));
    QTest::keyClicks(minutesBox(form), QStringLiteral("99"));
    ASSERT_EQ(minutesBox(form)->text(), QStringLiteral("79"));
}

TEST(GateSettingsTest, BrowserChoiceAndItsMessage) {
    auto h = startedWithPassword(QString());
    Form3& form = openSettings(*h);
    clickOption(form, 0);  // already chosen
    ASSERT_TRUE(h->fake.messages.shown.empty());
    clickOption(form, 1);
    clickOption(form, 2);
    ASSERT_EQ(messageTexts(*h), (QStringList{kBrowserMessage, kBrowserMessage}));
    ASSERT_EQ(h->store.browser, int16_t(2));
    clickOption(form, 0);
    ASSERT_EQ(h->fake.messages.shown.size(), size_t(2));
    clickOption(form, 4);
    button(form, kClose)->click();
    ASSERT_EQ(h->store.browser, int16_t(4));
    openSettings(*h);
    ASSERT_EQ(h->fake.messages.shown.size(), size_t(3));  // reselecting shows nothing
    ASSERT_TRUE(option(form, 4)->isChecked());
}

TEST(GateSettingsTest, ReopeningEmptiesThePasswordBoxes) {
    auto h = startedWithPassword(QStringLiteral("abc"));
    Form3& form = openSettings(*h);
    ASSERT_TRUE(minutesBox(form)->isEnabled());
    typePasswords(form, QStringLiteral("a"), QStringLiteral("b"));
    form.hide();
    openSettings(*h);
    ASSERT_TRUE(box(form, 0)->text().isEmpty() && box(form, 1)->text().isEmpty());
    ASSERT_TRUE(!minutesBox(form)->isEnabled());
    typePasswords(form, QStringLiteral("a"), QStringLiteral("a"));
    ASSERT_TRUE(minutesBox(form)->isEnabled());
}

TEST(GateSettingsTest, TabNameBoxSelectsItsWholeTextOnClick) {
    auto h = startedWithPassword(QString());
    Form3& form = openSettings(*h);
    QLineEdit* box = tabNameBox(form, 3);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    ASSERT_EQ_SOON(box->selectedText(), QStringLiteral("tab4"));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() / 2, box->height() / 2));
    ASSERT_EQ_SOON(box->selectedText(), QStringLiteral("tab4"));
}

TEST(GateSettingsTest, SettingsWindowIsMadeWhenFirstWanted) {
    auto h = startedWithPassword(QString());
    ASSERT_TRUE(!settingsWindowExists());
    button(h->form1(), kSettings)->click();
    ASSERT_TRUE(settingsWindowExists());
    ASSERT_TRUE(h->form3().isVisible());
}

TEST(GateSettingsTest, EndWithoutTheSettingsWindowMakesNone) {
    auto h = startedWithPassword(QString());
    chooseMenuEnd(h->form1());
    ASSERT_EQ(h->endings, 1);
    ASSERT_TRUE(!settingsWindowExists());
    chooseMenuEnd(h->form1());  // a second request ends nothing more
    ASSERT_EQ(h->endings, 1);
}
