#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <memory>

#include "update/download_progress.h"

class QProgressBar;

namespace velandri {

// Shown while the update archive downloads, since the program cannot be used meanwhile. Its
// close box and Esc stop the download.
class DownloadWindow : public QWidget, public DownloadProgress {
    Q_OBJECT

public:
    explicit DownloadWindow(QWidget* parent = nullptr);

    void begin() override;
    bool progress(qint64 received, qint64 total) override;
    void end() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void processEventsNow();

    QProgressBar* bar_;
    bool stopped_ = false;
    QElapsedTimer sinceEvents_;
};

// Makes the download window at the first download, so a run without an update never builds it.
class DownloadWindowOnDemand : public DownloadProgress {
public:
    void begin() override;
    bool progress(qint64 received, qint64 total) override;
    void end() override;
    // Null until the first download.
    DownloadWindow* window() const { return window_.get(); }

private:
    std::unique_ptr<DownloadWindow> window_;
};

}  // namespace velandri
