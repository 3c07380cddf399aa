#include "app/download_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/program_identity.h"

namespace velandri {

namespace {
constexpr int kPermille = 1000;
// Progress can come thousands of times a second; the window looks at its events less often.
constexpr qint64 kEventIntervalMs = 20;
}  // namespace

DownloadWindow::DownloadWindow(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      bar_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("DownloadWindow"));
    setWindowTitle(kProgramName);
    setWindowModality(Qt::ApplicationModal);
    auto* label = new QLabel(QStringLiteral("ダウンロード中…"), this);
    label->setObjectName(QStringLiteral("DownloadLabel"));
    bar_->setObjectName(QStringLiteral("DownloadBar"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(bar_);
    setFixedWidth(320);
    sinceEvents_.start();
}

void DownloadWindow::begin() {
    stopped_ = false;
    bar_->setRange(0, 0);  // busy until the size is known
    show();
    processEventsNow();
}

bool DownloadWindow::progress(qint64 received, qint64 total) {
    if (total > 0) {
        const int permille = int(std::clamp<qint64>(received * kPermille / total, 0, kPermille));
        bar_->setRange(0, kPermille);
        bar_->setValue(permille);
    }
    if (sinceEvents_.hasExpired(kEventIntervalMs)) processEventsNow();
    return !stopped_;
}

void DownloadWindow::end() { hide(); }

// The window stays until the download has stopped; end() hides it.
void DownloadWindow::closeEvent(QCloseEvent* event) {
    stopped_ = true;
    event->ignore();
}

void DownloadWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        stopped_ = true;
    else
        QWidget::keyPressEvent(event);
}

// The download blocks the event loop: the window is painted and its close box and Esc are heard
// meanwhile. Being modal, it keeps the user's input from every other window.
void DownloadWindow::processEventsNow() {
    QCoreApplication::processEvents();
    sinceEvents_.start();
}

void DownloadWindowOnDemand::begin() {
    if (!window_) window_ = std::make_unique<DownloadWindow>();
    window_->begin();
}

bool DownloadWindowOnDemand::progress(qint64 received, qint64 total) {
    return !window_ || window_->progress(received, total);
}

void DownloadWindowOnDemand::end() {
    if (window_) window_->end();
}

}  // namespace velandri
