// The real windows on a real X display under a window manager, with real message boxes: what
// the window manager's focus and the widgets themselves do, which offscreen runs cannot show.

#include <QApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QThread>
#include <QTimer>

#include "app/download_window.h"
#include "platform/linux/qt_message_box.h"
#include "window_harness.h"

using namespace velandri;

namespace {

using DesktopRun = WindowRun<MemoryStoreIo, QtMessageBox>;

enum { kApply = 0 };
enum { kCommit = 6, kCorrect = 9, kSettings = 4 };

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

Form3& openSettings(DesktopRun& run) {
    run.form1().Command1[kSettings]->click();
    return run.form3();
}

}  // namespace

class RealDesktopTest : public QObject {
    Q_OBJECT

private slots:
    // Only an opening or a return from another of the program's windows is an activation.
    void aMessageBoxClosingIsNotAReturnToTheWindow() {
        auto run = started(storeWithEntries(0, 1));
        QTRY_VERIFY(run->form1().isActiveWindow());
        Form3& form = openSettings(*run);
        QVERIFY(activeAndSettled(form));
        MessageBoxAnswerer answerer;

        QTest::keyClicks(form.Text1[0], "new1");
        QTest::keyClicks(form.Text1[1], "new1");
        answerer.answerNext();
        form.Option1[1]->click();  // the browser notice
        QCOMPARE(answerer.texts.size(), 1);
        QVERIFY(activeAndSettled(form));
        QCOMPARE(form.Text1[0]->text(), QStringLiteral("new1"));
        QCOMPARE(form.Text1[1]->text(), QStringLiteral("new1"));
        form.Command1[kApply]->click();
        QCOMPARE(run->store.password, QStringLiteral("new1"));
        QVERIFY(!form.isVisible());

        openSettings(*run);  // an opening empties the boxes
        QVERIFY(activeAndSettled(form));
        QTest::keyClicks(form.Text1[0], "abc");
        answerer.answerNext();
        form.Command1[kApply]->click();
        QCOMPARE(answerer.texts.last(), QStringLiteral("確認用パスワード欄が空欄です。"));
        QVERIFY(activeAndSettled(form));
        QCOMPARE(form.Text1[0]->text(), QStringLiteral("abc"));
        QTest::keyClicks(form.Text1[1], "abc");
        form.Command1[kApply]->click();
        QCOMPARE(run->store.password, QStringLiteral("abc"));

        openSettings(*run);  // a return from the main window is an activation
        QVERIFY(activeAndSettled(form));
        QTest::keyClicks(form.Text1[0], "zz");
        run->form1().activateWindow();
        QVERIFY(activeAndSettled(run->form1()));
        form.activateWindow();
        QVERIFY(activeAndSettled(form));
        QCOMPARE(form.Text1[0]->text(), QString());
    }

    // The edit boxes' limit is for typing: text set by "修正" stays whole.
    void correctionKeepsTextsLongerThanTheTypingLimit() {
        UrlStore store = storeWithEntries(0, 1);
        store.entries[0][0][UrlField::title] = kTwentyCharacters;
        store.entries[0][0][UrlField::content] = kTwentyCharacters;
        auto run = started(store);
        Form1& form = run->form1();
        QTRY_VERIFY(form.isActiveWindow());
        form.List1->setCurrentRow(0);
        form.Command1[kCorrect]->click();
        QCOMPARE(form.Text1[0]->text(), kTwentyCharacters);
        QCOMPARE(form.Text1[2]->text(), kTwentyCharacters);

        QLineEdit* title = form.Text1[0];
        title->setFocus();
        title->end(false);
        QTest::keyClicks(title, "x");
        QCOMPARE(title->text(), kTwentyCharacters);  // typing cannot lengthen it
        QTest::keyClick(title, Qt::Key_Backspace);
        QTest::keyClicks(title, "y");
        QCOMPARE(title->text(), kTwentyCharacters.left(19));
        form.Command1[kCommit]->click();
        QCOMPARE(run->store.entries[0][0][UrlField::title], kTwentyCharacters.left(19));
        QCOMPARE(run->store.entries[0][0][UrlField::content], kTwentyCharacters);

        form.List1->setCurrentRow(0);
        form.Command1[kCorrect]->click();
        form.Text1[2]->clear();
        QTest::keyClicks(form.Text1[2], "abcdefghijklmnopqrst");
        QCOMPARE(form.Text1[2]->text(), QStringLiteral("abcdefghijklmno"));
    }

    // The log-off clock belongs to the main window, which loads after the gate.
    void noLogoffClockAtThePasswordGate() {
        UrlStore store = storeWithEntries(0, 1);
        store.password = QStringLiteral("pw");
        store.logoffMinutes = 1;
        auto run = started(store);
        QTRY_VERIFY(run->form2().isActiveWindow());
        QVERIFY(!run->form1().Timer2.isActive());
        QTest::keyClicks(run->form2().Text1, "p");
        QVERIFY(!run->form1().Timer2.isActive());
        QTest::keyClicks(run->form2().Text1, "w");
        QTRY_VERIFY(run->form1().isActiveWindow());
        QVERIFY(run->form1().Timer2.isActive());
    }

    // Every double-click of the list restarts the log-off time; only a line opens anything.
    void everyDoubleClickOfTheListRestartsTheLogoffTime() {
        auto run = started(storeWithEntries(0, 2));
        Form1& form = run->form1();
        QTRY_VERIFY(form.isActiveWindow());
        QWidget* lines = form.List1->viewport();
        const QRect lastLine = form.List1->visualItemRect(form.List1->item(1));
        const QPoint belowTheLines(lastLine.center().x(), lastLine.bottom() + lastLine.height());
        QVERIFY(lines->rect().contains(belowTheLines));

        run->shared.logoffTicks = 5;
        doubleClick(lines, belowTheLines);
        QCOMPARE(run->shared.logoffTicks, int16_t(0));
        QVERIFY(run->launcher.opened.isEmpty());

        run->shared.logoffTicks = 5;
        doubleClick(lines, lastLine.center());
        QCOMPARE(run->shared.logoffTicks, int16_t(0));
        QCOMPARE(run->launcher.opened, QStringList{QStringLiteral("http://host/1")});
    }

    // While the download blocks the program, a real Esc and the window manager's close box still
    // reach the download window, which stops the download.
    void downloadWindowStopsOnEscAndItsCloseBox() {
        const QStringList actions[] = {
            {QStringLiteral("xdotool"), QStringLiteral("key"), QStringLiteral("Escape")},
            {QStringLiteral("wmctrl"), QStringLiteral("-F"), QStringLiteral("-c"),
             QStringLiteral("Velandri")},
        };
        for (const QStringList& action : actions) {
            const QString what = action.join(u' ');
            DownloadWindow window;
            window.begin();
            QTRY_VERIFY2(window.isActiveWindow(), qPrintable(what));
            QVERIFY(QProcess::startDetached(action[0], action.mid(1)));
            // As a download's progress comes, and nothing else runs the window's events.
            bool going = true;
            for (const QDeadlineTimer patience(10'000); going && !patience.hasExpired();) {
                QThread::msleep(5);
                going = window.progress(1, 10);
            }
            QVERIFY2(!going, qPrintable(what));
            window.end();
        }
    }
};

QTEST_MAIN(RealDesktopTest)
#include "real_desktop_test.moc"
