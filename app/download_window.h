#pragma once

#include <QWidget>

#include "update/download_progress.h"

class QProgressBar;

// Shown while the update archive downloads, since the program cannot be used meanwhile.
class DownloadWindow : public QWidget, public DownloadProgress {
    Q_OBJECT

public:
    explicit DownloadWindow(QWidget* parent = nullptr);

    void begin() override;
    void progress(qint64 received, qint64 total) override;
    void end() override;

private:
    void repaintNow();

    QProgressBar* bar_;
};
