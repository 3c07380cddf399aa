// The real windows on a real X display under a window manager, with real message boxes: what
// the window manager's focus and the widgets themselves do, which offscreen runs cannot show.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <memory>

#include "app/browser_launch.h"
#include "app/download_window.h"
#include "app/twips.h"
#include "fakes/stubbed_platform.h"
#include "platform/linux/qt_message_box.h"
#include "window_harness.h"

using namespace velandri;

namespace {

using DesktopRun = WindowRun<MemoryStoreIo, QtMessageBox>;

const QString kTwentyCharacters = QStringLiteral("あいうえおかきくけこさしすせそたちつてと");

// Answers the next message box with its default button once the window manager has made it
// the active window, so that focus really leaves the window behind it and comes back.
class MessageBoxAnswerer : public QObject {
public:
    MessageBoxAnswerer() {
        timer_.setInterval(20);
        connect(&timer_, &QTimer::timeout, this, &MessageBoxAnswerer::answerIfShown);
    }
    void answerNext() { timer_.start(); }
    QStringList texts;

private:
    void answerIfShown() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isActiveWindow()) return;
        timer_.stop();
        texts << box->text();
        box->defaultButton()->click();
    }
    QTimer timer_;
};

std::unique_ptr<DesktopRun> started(const UrlStore& store) {
    auto run = std::make_unique<DesktopRun>();
    run->storeIo.loaded = store;
    run->start();
    return run;
}

// Waits until the window is active again and lets any further focus events arrive.
bool activeAndSettled(QWidget& window) {
    if (!QTest::qWaitFor([&window] { return window.isActiveWindow(); }, 5000)) return false;
    QTest::qWait(300);
    return true;
}

// As the user's double-click arrives: a click, then the second press as a double-click.
void doubleClick(QWidget* widget, QPoint point) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, point);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, point);
}

// What an input method delivers when the user commits a composition.
void commitComposition(QLineEdit* box, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(box, &commit);
}

void paste(QLineEdit* box, const QString& text) {
    QApplication::clipboard()->setText(text);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}

// Presses a key where the keyboard focus is, as a user's key press arrives.
void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

// The widget the focus reaches after each of count presses of Tab.
QList<QWidget*> tabWalk(int count) {
    QList<QWidget*> reached;
    for (int i = 0; i < count; ++i) {
        pressKey(Qt::Key_Tab);
        reached << QApplication::focusWidget();
    }
    return reached;
}

// Carries a drag with the given data over the window at a point and drops it there, as the
// window system delivers it; true when the window took the drop.
bool dragAndDrop(QWidget& window, QPoint point, QMimeData* data) {
    const std::unique_ptr<QMimeData> owned(data);  // as a drag owns its data, not its events
    QWindow* handle = window.windowHandle();
    const Qt::DropActions actions = Qt::CopyAction | Qt::LinkAction;
    QDragEnterEvent enter(point, actions, data, Qt::LeftButton, {});
    QApplication::sendEvent(handle, &enter);
    QDragMoveEvent move(point, actions, data, Qt::LeftButton, {});
    QApplication::sendEvent(handle, &move);
    if (!move.isAccepted()) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(handle, &leave);
        return false;
    }
    QDropEvent drop(point, actions, data, Qt::LeftButton, {});
    QApplication::sendEvent(handle, &drop);
    return drop.isAccepted();
}

// What a browser's drag of a link carries.
QMimeData* browserDrag(const QString& url, const QString& title) {
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/uri-list"), (url + QStringLiteral("\r\n")).toUtf8());
    data->setData(QStringLiteral("_NETSCAPE_URL"), (url + u'\n' + title).toUtf8());
    data->setData(QStringLiteral("text/x-moz-url"), QByteArray());  // as Qt 6.4 receives it
    return data;
}

// The windows with the real browser launch and process start over stub browsers; messages are
// scripted.
struct LaunchingRun {
    explicit LaunchingRun(const UrlStore& loaded) {
        storeIo.loaded = loaded;
        windows.start();
    }
    StubbedPlatform stubbed;
    UrlStore store;
    SharedValues shared;
    MemoryStoreIo storeIo;
    FakeUpdater updater{stubbed.fake.windows};
    BrowserLaunch launcher{store, browserPlatform(stubbed.platform)};
    ProgramWindows windows{store, shared, stubbed.platform, storeIo, updater, launcher, kSiteUrl};
};

Form3& openSettings(DesktopRun& run) {
    button(run.form1(), kSettings)->click();
    return run.form3();
}

// Real input through the X server, as from the keyboard, the pointer or the window manager.
void xdotool(const QStringList& arguments) {
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0);
}

// A pointer click in the middle of the widget, in the screen's own pixels.
void clickWithThePointer(QWidget* widget) {
    const QPointF centre = widget->mapToGlobal(QPointF(widget->rect().center()));
    const QPoint pixel = (centre * widget->devicePixelRatioF()).toPoint();
    xdotool({QStringLiteral("mousemove"), QString::number(pixel.x()), QString::number(pixel.y()),
             QStringLiteral("click"), QStringLiteral("1")});
}

// Digit keys whose text QTest::keyClicks cannot type: the full-width digits of a layout or an
// input method in direct input.
void pressDigitKeys(QWidget* box, const QString& digits) {
    for (const QChar digit : digits) {
        const auto key = static_cast<Qt::Key>(Qt::Key_0 + digit.digitValue());
        QTest::sendKeyEvent(QTest::Click, box, key, QString(digit), Qt::NoModifier);
    }
}

// An input method's commit, as ibus or fcitx delivers converted text.
void commitAsAnInputMethod(QWidget* box, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(box, &commit);
}

// The whole widget is shown: not clipped by the window's scrolling, not beyond the screen.
bool wholeOnTheScreen(QWidget* widget) {
    const QRect global(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    return widget->visibleRegion().boundingRect() == widget->rect() &&
           widget->screen()->geometry().contains(global);
}

}  // namespace

TEST(RealDesktopTest, AMessageBoxClosingIsNotAReturnToTheWindow) {
    auto run = started(storeWithEntries(0, 1));
    ASSERT_TRUE_SOON(run->form1().isActiveWindow());
    Form3& form = openSettings(*run);
    ASSERT_TRUE(activeAndSettled(form));
    MessageBoxAnswerer answerer;

    QTest::keyClicks(box(form, 0), "new1");
    QTest::keyClicks(box(form, 1), "new1");
    answerer.answerNext();
    option(form, 1)->click();  // the browser notice
    ASSERT_EQ(answerer.texts.size(), 1);
    ASSERT_TRUE(activeAndSettled(form));
    ASSERT_EQ(box(form, 0)->text(), QStringLiteral("new1"));
    ASSERT_EQ(box(form, 1)->text(), QStringLiteral("new1"));
    button(form, kApply)->click();
    ASSERT_EQ(run->store.password, QStringLiteral("new1"));
    ASSERT_TRUE(!form.isVisible());

    openSettings(*run);  // an opening empties the boxes
    ASSERT_TRUE(activeAndSettled(form));
    QTest::keyClicks(box(form, 0), "abc");
    answerer.answerNext();
    button(form, kApply)->click();
    ASSERT_EQ(answerer.texts.last(), QStringLiteral("確認用パスワード欄が空欄です。"));
    ASSERT_TRUE(activeAndSettled(form));
    ASSERT_EQ(box(form, 0)->text(), QStringLiteral("abc"));
    QTest::keyClicks(box(form, 1), "abc");
    button(form, kApply)->click();
    ASSERT_EQ(run->store.password, QStringLiteral("abc"));

    openSettings(*run);  // a return from the main window is an activation
    ASSERT_TRUE(activeAndSettled(form));
    QTest::keyClicks(box(form, 0), "zz");
    run->form1().activateWindow();
    ASSERT_TRUE(activeAndSettled(run->form1()));
    form.activateWindow();
    ASSERT_TRUE(activeAndSettled(form));
    ASSERT_EQ(box(form, 0)->text(), QString());
}

TEST(RealDesktopTest, CorrectionKeepsTextsLongerThanTheTypingLimit) {
    UrlStore store = storeWithEntries(0, 1);
    store.entries[0][0][UrlField::title] = kTwentyCharacters;
    store.entries[0][0][UrlField::content] = kTwentyCharacters;
    auto run = started(store);
    Form1& form = run->form1();
    ASSERT_TRUE_SOON(form.isActiveWindow());
    list(form)->setCurrentRow(0);
    button(form, kCorrect)->click();
    ASSERT_EQ(box(form, 0)->text(), kTwentyCharacters);
    ASSERT_EQ(box(form, 2)->text(), kTwentyCharacters);

    QLineEdit* title = box(form, 0);
    title->setFocus();
    title->end(false);
    QTest::keyClicks(title, "x");
    ASSERT_EQ(title->text(), kTwentyCharacters);  // typing cannot lengthen it
    QTest::keyClick(title, Qt::Key_Backspace);
    QTest::keyClicks(title, "y");
    ASSERT_EQ(title->text(), kTwentyCharacters.left(19));
    button(form, kCommit)->click();
    ASSERT_EQ(run->store.entries[0][0][UrlField::title], kTwentyCharacters.left(19));
    ASSERT_EQ(run->store.entries[0][0][UrlField::content], kTwentyCharacters);

    list(form)->setCurrentRow(0);
    button(form, kCorrect)->click();
    box(form, 2)->clear();
    QTest::keyClicks(box(form, 2), "abcdefghijklmnopqrst");
    ASSERT_EQ(box(form, 2)->text(), QStringLiteral("abcdefghijklmno"));
}

TEST(RealDesktopTest, NoLogoffClockAtThePasswordGate) {
    UrlStore store = storeWithEntries(0, 1);
    store.password = QStringLiteral("pw");
    store.logoffMinutes = 1;
    auto run = started(store);
    ASSERT_TRUE_SOON(run->form2().isActiveWindow());
    ASSERT_TRUE(!timer(run->form1(), "Timer2")->isActive());
    QTest::keyClicks(passwordBox(run->form2()), "p");
    ASSERT_TRUE(!timer(run->form1(), "Timer2")->isActive());
    QTest::keyClicks(passwordBox(run->form2()), "w");
    ASSERT_TRUE_SOON(run->form1().isActiveWindow());
    ASSERT_TRUE(timer(run->form1(), "Timer2")->isActive());
}

TEST(RealDesktopTest, EveryDoubleClickOfTheListRestartsTheLogoffTime) {
    auto run = started(storeWithEntries(0, 2));
    Form1& form = run->form1();
    ASSERT_TRUE_SOON(form.isActiveWindow());
    QWidget* lines = list(form)->viewport();
    const QRect lastLine = list(form)->visualItemRect(list(form)->item(1));
    const QPoint belowTheLines(lastLine.center().x(), lastLine.bottom() + lastLine.height());
    ASSERT_TRUE(lines->rect().contains(belowTheLines));

    run->shared.logoffTicks = 5;
    doubleClick(lines, belowTheLines);
    ASSERT_EQ(run->shared.logoffTicks, int16_t(0));
    ASSERT_TRUE(run->launcher.opened.isEmpty());

    run->shared.logoffTicks = 5;
    doubleClick(lines, lastLine.center());
    ASSERT_EQ(run->shared.logoffTicks, int16_t(0));
    ASSERT_EQ(run->launcher.opened, QStringList{QStringLiteral("http://host/1")});
}

TEST(RealDesktopTest, DownloadWindowStopsOnEscAndItsCloseBox) {
    const QStringList actions[] = {
        {QStringLiteral("xdotool"), QStringLiteral("key"), QStringLiteral("Escape")},
        {QStringLiteral("wmctrl"), QStringLiteral("-F"), QStringLiteral("-c"),
         QStringLiteral("Velandri")},
    };
    for (const QStringList& action : actions) {
        const QString what = action.join(u' ');
        DownloadWindow window;
        window.begin();
        ASSERT_TRUE_SOON(window.isActiveWindow()) << qPrintable(what);
        ASSERT_TRUE(QProcess::startDetached(action[0], action.mid(1)));
        // As a download's progress comes, and nothing else runs the window's events.
        bool going = true;
        for (const QDeadlineTimer patience(10'000); going && !patience.hasExpired();) {
            QThread::msleep(5);
            going = window.progress(1, 10);
        }
        ASSERT_TRUE(!going) << qPrintable(what);
        window.end();
    }
}

TEST(RealDesktopTest, FullWidthDigitsCountInTheMinutesBox) {
    auto run = started(storeWithEntries(0, 1));
    Form3& form = openSettings(*run);
    ASSERT_TRUE(activeAndSettled(form));
    QTest::keyClicks(box(form, 0), "pw");
    QTest::keyClicks(box(form, 1), "pw");  // the minutes box is for a password only
    minutesBox(form)->setFocus();
    minutesBox(form)->clear();
    pressDigitKeys(minutesBox(form), QStringLiteral("５９１"));
    ASSERT_EQ(minutesBox(form)->text(), QStringLiteral("59"));  // two characters at most
    minutesBox(form)->clear();
    commitAsAnInputMethod(minutesBox(form), QStringLiteral("２０"));
    ASSERT_EQ(minutesBox(form)->text(), QStringLiteral("20"));
}

TEST(RealDesktopTest, SettingsWindowFitsTheScreen) {
    auto run = started(storeWithEntries(0, 1));
    Form3& form = openSettings(*run);
    ASSERT_TRUE(activeAndSettled(form));
    const QSize designed(twipsToPixelsX(&form, 2400), twipsToPixelsY(&form, 9630));
    const QRect available = form.screen()->availableGeometry();
    const bool tooSmall = qEnvironmentVariableIsSet("VELANDRI_SCREEN_TOO_SMALL");
    ASSERT_EQ(designed.height() > available.height(), tooSmall);
    if (!tooSmall) {
        ASSERT_EQ(form.size(), designed);
    }
    ASSERT_TRUE(available.contains(form.frameGeometry()));
    ASSERT_TRUE(wholeOnTheScreen(button(form, kApply)) && wholeOnTheScreen(button(form, kClose)));

    button(form, kApply)->setFocus();
    QTest::keyClick(button(form, kApply), Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_TRUE(QApplication::focusWidget() == option(form, 4));  // the column's last control
    ASSERT_TRUE(wholeOnTheScreen(option(form, 4)));
    clickWithThePointer(button(form, kClose));
    ASSERT_TRUE_SOON(!form.isVisible());
    openSettings(*run);
    ASSERT_TRUE(activeAndSettled(form));
    ASSERT_TRUE(wholeOnTheScreen(box(form, 0)));  // focused at the opening
    tabNameBox(form, 0)->setText(QStringLiteral("renamed"));
    clickWithThePointer(button(form, kApply));
    ASSERT_EQ_SOON(run->store.tabNames[0], QStringLiteral("renamed"));
}

TEST(RealDesktopTest, TheCloseBoxIsTheEndButton) {
    auto run = started(storeWithEntries(0, 3));
    Form3& form = openSettings(*run);
    ASSERT_TRUE(activeAndSettled(form));
    tabNameBox(form, 0)->setText(QStringLiteral("unapplied"));
    QTest::keyClicks(box(form, 0), "pw");
    MessageBoxAnswerer answerer;
    answerer.answerNext();
    xdotool({QStringLiteral("key"), QStringLiteral("alt+F4")});
    ASSERT_EQ_SOON(answerer.texts, QStringList{QStringLiteral("確認用パスワード欄が空欄です。")});
    ASSERT_TRUE(activeAndSettled(form));
    QTest::keyClicks(box(form, 1), "pw");
    xdotool({QStringLiteral("key"), QStringLiteral("alt+F4")});
    ASSERT_TRUE(activeAndSettled(run->form1()));
    ASSERT_TRUE(!form.isVisible());
    ASSERT_EQ(run->endings, 0);
    ASSERT_EQ(run->store.password, QStringLiteral("pw"));
    ASSERT_EQ(run->store.tabNames[0], QStringLiteral("tab1"));  // as "終了" leaves it
    ASSERT_EQ(run->store.entries, storeWithEntries(0, 3).entries);
}

TEST(RealDesktopTest, TypingKeepsBlanksAndWholeCharacters) {
    auto run = started(storeWithEntries(0, 1));
    Form1& form = run->form1();
    ASSERT_TRUE_SOON(form.isActiveWindow());
    button(form, kUrlSetting)->click();
    QLineEdit* title = box(form, 0);
    QLineEdit* url = box(form, 1);
    QLineEdit* content = box(form, 2);
    ASSERT_EQ_SOON(QApplication::focusWidget(), title);

    QTest::keyClicks(title, " My Page 2 ");
    ASSERT_EQ(title->text(), QStringLiteral(" My Page 2 "));
    for (const char* part : {"東京", "\u3000", "出張"})
        commitComposition(content, QString::fromUtf8(part));
    ASSERT_EQ(content->text(), QStringLiteral("東京\u3000出張"));
    QTest::keyClicks(url, "http://host/new");
    button(form, kCommit)->click();
    const UrlEntry& added = run->store.entries[0][1];
    ASSERT_EQ(added[UrlField::title], QStringLiteral("My Page 2"));
    ASSERT_EQ(added[UrlField::content], QStringLiteral("東京\u3000出張"));

    const QString kana14 = QStringLiteral("あいうえおかきくけこさしすせ");
    const QString yoshi = QStringLiteral("\U00020BB7");  // 𠮷, two UTF-16 units
    button(form, kUrlSetting)->click();
    paste(title, kana14 + yoshi);
    ASSERT_EQ(title->text(), kana14);
    commitComposition(title, yoshi);
    ASSERT_EQ(title->text(), kana14);
    commitComposition(title, QStringLiteral("か\u3099"));  // が as base and combining mark
    ASSERT_EQ(title->text(), kana14);
    title->setText(kana14.left(13));
    paste(title, yoshi + QStringLiteral("x"));
    ASSERT_EQ(title->text(), kana14.left(13) + yoshi);
    title->setText(kana14);
    title->setCursorPosition(2);
    paste(title, yoshi);  // in the middle, too
    ASSERT_EQ(title->text(), kana14);
    QTest::keyClicks(title, "z");
    ASSERT_EQ(title->text(), kana14.left(2) + QStringLiteral("z") + kana14.mid(2));
}

TEST(RealDesktopTest, KeyboardOpensLinesAndWalksOnlyWhatShows) {
    auto run = started(storeWithEntries(0, 3));
    Form1& form = run->form1();
    ASSERT_TRUE_SOON(form.isActiveWindow());
    ASSERT_EQ_SOON(QApplication::focusWidget(), list(form));

    pressKey(Qt::Key_Space);
    ASSERT_EQ(selectedRow(form), 0);
    ASSERT_TRUE(button(form, kCorrect)->isEnabled());
    pressKey(Qt::Key_Down);
    ASSERT_EQ(selectedRow(form), 1);
    ASSERT_TRUE(run->launcher.opened.isEmpty());
    run->shared.logoffTicks = 5;
    pressKey(Qt::Key_Return);
    ASSERT_EQ(run->launcher.opened, QStringList{QStringLiteral("http://host/1")});
    ASSERT_EQ(run->shared.logoffTicks, int16_t(0));
    pressKey(Qt::Key_Down);
    pressKey(Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_EQ(run->launcher.opened.last(), QStringLiteral("http://host/2"));

    const QList<QWidget*> editRow{box(form, 0), box(form, 1), box(form, 2), button(form, kCommit),
                                  button(form, kBack)};
    for (QWidget* reached : tabWalk(30)) {
        ASSERT_TRUE(!editRow.contains(reached)) << "hidden row";
    }
    ASSERT_TRUE(!form.session().hasUnregisteredText());

    button(form, kUrlSetting)->click();
    ASSERT_EQ_SOON(QApplication::focusWidget(), box(form, 0));
    ASSERT_EQ(tabWalk(4), (QList<QWidget*>{box(form, 1), box(form, 2), button(form, kCommit),
                                           button(form, kBack)}));
    box(form, 0)->setFocus();
    QTest::keyClicks(box(form, 0), "typed");
    pressKey(Qt::Key_Tab);
    QTest::keyClicks(box(form, 1), "http://host/typed");
    pressKey(Qt::Key_Return);
    ASSERT_EQ(run->store.entries[0][3][UrlField::url], QStringLiteral("http://host/typed"));
    ASSERT_EQ(form.modeHeightTwips(), 4000);
    ASSERT_EQ(QApplication::focusWidget(), list(form));
    for (QWidget* reached : tabWalk(30)) {
        ASSERT_TRUE(!editRow.contains(reached)) << "hidden row";
    }
}

TEST(RealDesktopTest, ADroppedLinkStartsAnEntry) {
    auto run = started(storeWithEntries(0, 2));
    Form1& form = run->form1();
    ASSERT_TRUE_SOON(form.isActiveWindow());
    const QPoint overList = list(form)->geometry().center();
    const QString link = QStringLiteral("https://ja.wikipedia.org/wiki/東京");

    ASSERT_TRUE(dragAndDrop(form, overList, browserDrag(link, QStringLiteral("東京 - Wikipedia"))));
    ASSERT_EQ(form.modeHeightTwips(), 5200);
    ASSERT_EQ(box(form, 0)->text(), QStringLiteral("東京 - Wikipedia"));
    ASSERT_EQ(box(form, 1)->text(), link);
    ASSERT_EQ(run->store.entries[0][2][UrlField::url], QString());
    button(form, kCommit)->click();
    ASSERT_EQ(run->store.entries[0][2][UrlField::url], link);

    auto* uriList = new QMimeData;
    uriList->setUrls({QUrl(QStringLiteral("http://host/listed"))});
    ASSERT_TRUE(dragAndDrop(form, overList, uriList));
    ASSERT_EQ(box(form, 0)->text(), QString());
    ASSERT_EQ(box(form, 1)->text(), QStringLiteral("http://host/listed"));
    ASSERT_EQ_SOON(QApplication::focusWidget(), box(form, 0));
    MessageBoxAnswerer answerer;  // the dropped text is unsaved: "戻る" asks
    answerer.answerNext();
    button(form, kBack)->click();
    ASSERT_EQ(answerer.texts.size(), 1);
    ASSERT_EQ(form.modeHeightTwips(), 4000);

    auto* plainLink = new QMimeData;
    plainLink->setText(QStringLiteral(" https://example.org/plain \n"));
    ASSERT_TRUE(dragAndDrop(form, overList, plainLink));
    ASSERT_EQ(box(form, 1)->text(), QStringLiteral("https://example.org/plain"));
    answerer.answerNext();
    button(form, kBack)->click();
    ASSERT_EQ(answerer.texts.size(), 2);

    auto* mozUrl = new QMimeData;  // Firefox's own format, in UTF-16, where it arrives
    const QString mozText = QStringLiteral("http://host/moz\nモズ");
    mozUrl->setData(QStringLiteral("text/x-moz-url"),
                    QByteArray(reinterpret_cast<const char*>(mozText.utf16()), mozText.size() * 2));
    ASSERT_TRUE(dragAndDrop(form, overList, mozUrl));
    ASSERT_EQ(box(form, 0)->text(), QStringLiteral("モズ"));
    ASSERT_EQ(box(form, 1)->text(), QStringLiteral("http://host/moz"));
    answerer.answerNext();
    button(form, kBack)->click();

    for (const QString& notALink :
         {QStringLiteral("two words"), QStringLiteral("javascript:alert(1)")}) {
        auto* text = new QMimeData;
        text->setText(notALink);
        ASSERT_TRUE(!dragAndDrop(form, overList, text));
    }
    ASSERT_EQ(form.modeHeightTwips(), 4000);
    ASSERT_EQ(run->store.entries[0][3][UrlField::url], QString());
}

TEST(RealDesktopTest, ADroppedLinkReachesTheBrowserAsOneArgument) {
    UrlStore loaded = storeWithEntries(0, 0);
    loaded.browser = 1;
    LaunchingRun run(loaded);
    run.stubbed.stubs.install(QStringLiteral("firefox"));
    Form1& form = run.windows.form1();
    ASSERT_TRUE_SOON(form.isActiveWindow());
    const QPoint overList = list(form)->geometry().center();

    const QString options = QStringLiteral("http://example.com/%20--new-instance%20-P%20x");
    ASSERT_TRUE(!dragAndDrop(form, overList, browserDrag(options, QStringLiteral("opts"))));
    ASSERT_EQ(form.modeHeightTwips(), 4000);

    const QString tooLong = QStringLiteral("http://example.com/") + QString(32767, u'a');
    ASSERT_TRUE(dragAndDrop(form, overList, browserDrag(tooLong, QStringLiteral("long"))));
    ASSERT_EQ(form.modeHeightTwips(), 4000);
    const std::vector<ShownMessage>& shown = run.stubbed.fake.messages.shown;
    ASSERT_EQ(shown.size(), size_t(1));
    ASSERT_EQ(shown[0].title, kMessageTitle);
    ASSERT_EQ(shown[0].text, QStringLiteral("URLが長すぎるため、登録できません。"));

    const QString encoded = QStringLiteral("http://example.com/%E6%9D%B1?q=a%2Bb%2C#%E4%BA%AC");
    ASSERT_TRUE(dragAndDrop(form, overList, browserDrag(encoded, QStringLiteral("東京"))));
    button(form, kCommit)->click();
    ASSERT_EQ(run.store.entries[0][0][UrlField::url], encoded);
    const QRect line = list(form)->visualItemRect(list(form)->item(0));
    doubleClick(list(form)->viewport(), line.center());
    ASSERT_EQ(run.stubbed.stubs.takeArguments(QStringLiteral("firefox")), QStringList{encoded});
}
