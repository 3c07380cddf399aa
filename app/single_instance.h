#pragma once

#include <QLocalServer>
#include <QLocalSocket>
#include <QObject>
#include <QString>

namespace velandri {

// Keeps one running copy per data folder: two copies would overwrite each other's changes
// when they save on exit.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& dataFolder, QObject* parent = nullptr);

    // True when this process is the only copy; otherwise the running copy has been asked to
    // come to the front and this one should exit.
    bool claim();

signals:
    void activationRequested();

private:
    bool askRunningCopyToActivate();
    void acceptActivation();
    void readRequest(QLocalSocket* socket);

    QString socketPath_;  // empty when the user has no private runtime folder
    QLocalServer server_;
};

}  // namespace velandri
