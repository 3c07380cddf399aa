#include "app/download_window.h"

#include <QLabel>
#include <QProgressBar>
#include <QTest>

using namespace velandri;

class DownloadWindowTest : public QObject {
    Q_OBJECT

private slots:
    void showsProgressWhileDownloading();
    void windowIsMadeAtTheFirstDownload();
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

QTEST_MAIN(DownloadWindowTest)
#include "download_window_test.moc"
