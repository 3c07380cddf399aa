#include "app/download_window.h"

#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QThread>

#include "fakes/qt_printers.h"

using namespace velandri;

namespace {

TEST(DownloadWindow, ShowsProgressWhileDownloading) {
    DownloadWindow window;
    auto* bar = window.findChild<QProgressBar*>(QStringLiteral("DownloadBar"));
    auto* label = window.findChild<QLabel*>(QStringLiteral("DownloadLabel"));
    ASSERT_TRUE(bar && label);
    EXPECT_EQ(label->text(), QStringLiteral("ダウンロード中…"));

    window.begin();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(bar->maximum(), 0);  // busy while the size is unknown
    window.progress(100, 0);
    EXPECT_EQ(bar->maximum(), 0);
    window.progress(3 * 1024 * 1024, 4 * 1024 * 1024);
    EXPECT_EQ(bar->value() * 4, bar->maximum() * 3);
    window.progress(4 * 1024 * 1024, 4 * 1024 * 1024);
    EXPECT_EQ(bar->value(), bar->maximum());
    window.end();
    EXPECT_FALSE(window.isVisible());
}

TEST(DownloadWindow, IsMadeAtTheFirstDownload) {
    DownloadWindowOnDemand progress;
    progress.progress(1, 2);
    progress.end();
    EXPECT_EQ(progress.window(), nullptr);

    progress.begin();
    DownloadWindow* window = progress.window();
    ASSERT_TRUE(window && window->isVisible());
    progress.progress(1, 2);
    auto* bar = window->findChild<QProgressBar*>(QStringLiteral("DownloadBar"));
    EXPECT_EQ(bar->value() * 2, bar->maximum());
    progress.end();
    EXPECT_FALSE(window->isVisible());
    progress.begin();
    EXPECT_EQ(progress.window(), window);  // made once
}

// What the user does while the download blocks the program arrives as the window's events, which
// its progress takes in; the window stays until the download has stopped.
TEST(DownloadWindow, EscOrCloseBoxStopsTheDownload) {
    DownloadWindow window;
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    const std::pair<const char*, QEvent*> stops[] = {
        {"Esc", new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier)},
        {"close box", new QCloseEvent},
    };
    for (const auto& [name, event] : stops) {
        SCOPED_TRACE(name);
        window.begin();
        EXPECT_TRUE(window.progress(1, 10));
        QCoreApplication::postEvent(&window, event);
        QThread::msleep(50);  // the window looks at its events every 20 ms at most
        EXPECT_FALSE(window.progress(2, 10));
        EXPECT_FALSE(window.progress(3, 10));
        EXPECT_TRUE(window.isVisible());
        window.end();
        EXPECT_FALSE(window.isVisible());
    }
    window.begin();  // a new download goes on
    EXPECT_TRUE(window.progress(1, 10));
    QTest::keyClick(&window, Qt::Key_Space);
    EXPECT_TRUE(window.progress(2, 10));
    window.end();
}

}  // namespace
