#include "app/download_window.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/program_identity.h"

namespace velandri {

namespace {
constexpr int kPermille = 1000;
}

DownloadWindow::DownloadWindow(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
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
}

void DownloadWindow::begin() {
    bar_->setRange(0, 0);  // busy until the size is known
    show();
    repaintNow();
}

void DownloadWindow::progress(qint64 received, qint64 total) {
    if (total <= 0) return;
    const int permille = int(std::clamp<qint64>(received * kPermille / total, 0, kPermille));
    if (bar_->maximum() == kPermille && bar_->value() == permille) return;
    bar_->setRange(0, kPermille);
    bar_->setValue(permille);
    repaintNow();
}

void DownloadWindow::end() { hide(); }

// The download blocks the event loop; only painting may run meanwhile, never user input.
void DownloadWindow::repaintNow() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void DownloadWindowOnDemand::begin() {
    if (!window_) window_ = std::make_unique<DownloadWindow>();
    window_->begin();
}

void DownloadWindowOnDemand::progress(qint64 received, qint64 total) {
    if (window_) window_->progress(received, total);
}

void DownloadWindowOnDemand::end() {
    if (window_) window_->end();
}

}  // namespace velandri
