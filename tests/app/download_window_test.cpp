#include "app/download_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QThread>

using namespace velandri;

class DownloadWindowTest : public QObject {
    Q_OBJECT

private slots:
    void showsProgressWhileDownloading();
    void windowIsMadeAtTheFirstDownload();
    void escOrCloseBoxStopsTheDownload();
};

void DownloadWindowTest::showsProgressWhileDownloading() {
    DownloadWindow window;
    auto* bar = window.findChild<QProgressBar*>(QStringLiteral("DownloadBar"));
    auto* label = window.findChild<QLabel*>(QStringLiteral("DownloadLabel"));
    QVERIFY(bar && label);
    QCOMPARE(label->text(), QStringLiteral("ダウンロード中…"));

    window.begin();
    QVERIFY(window.isVisible());
    QCOMPARE(bar->maximum(), 0);  // busy while the size is unknown
    window.progress(100, 0);
    QCOMPARE(bar->maximum(), 0);
    window.progress(3 * 1024 * 1024, 4 * 1024 * 1024);
    QCOMPARE(bar->value() * 4, bar->maximum() * 3);
    window.progress(4 * 1024 * 1024, 4 * 1024 * 1024);
    QCOMPARE(bar->value(), bar->maximum());
    window.end();
    QVERIFY(!window.isVisible());
}

void DownloadWindowTest::windowIsMadeAtTheFirstDownload() {
    DownloadWindowOnDemand progress;
    progress.progress(1, 2);
    progress.end();
    QVERIFY(progress.window() == nullptr);

    progress.begin();
    DownloadWindow* window = progress.window();
    QVERIFY(window && window->isVisible());
    progress.progress(1, 2);
    auto* bar = window->findChild<QProgressBar*>(QStringLiteral("DownloadBar"));
    QCOMPARE(bar->value() * 2, bar->maximum());
    progress.end();
    QVERIFY(!window->isVisible());
    progress.begin();
    QCOMPARE(progress.window(), window);  // made once
}

// What the user does while the download blocks the program arrives as the window's events, which
// its progress takes in; the window stays until the download has stopped.
void DownloadWindowTest::escOrCloseBoxStopsTheDownload() {
    DownloadWindow window;
    QVERIFY(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    const std::pair<const char*, QEvent*> stops[] = {
        {"Esc", new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier)},
        {"close box", new QCloseEvent},
    };
    for (const auto& [name, event] : stops) {
        window.begin();
        QVERIFY2(window.progress(1, 10), name);
        QCoreApplication::postEvent(&window, event);
        QThread::msleep(50);  // the window looks at its events every 20 ms at most
        QVERIFY2(!window.progress(2, 10), name);
        QVERIFY2(!window.progress(3, 10), name);
        QVERIFY2(window.isVisible(), name);
        window.end();
        QVERIFY2(!window.isVisible(), name);
    }
    window.begin();  // a new download goes on
    QVERIFY(window.progress(1, 10));
    QTest::keyClick(&window, Qt::Key_Space);
    QVERIFY(window.progress(2, 10));
    window.end();
}

QTEST_MAIN(DownloadWindowTest)
#include "download_window_test.moc"
