#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <map>

class QSocketNotifier;

namespace velandri {

// The local socket under which a running copy of the program answers for dataFolder. The
// program claims it; a second copy and the data tool look for it. It is a full path in the
// user's private runtime folder ($XDG_RUNTIME_DIR, or a folder of the user's own in the cache
// folder, $XDG_CACHE_HOME or ~/.cache), so that no other user can take the name; spellings of
// one folder (relative, with "..", through a link) give one path. Empty, and logged, when the
// user has no private runtime folder.
QString runningCopySocketPath(const QString& dataFolder);

// Whether a copy of this user's answers at socketPath.
bool runningCopyAnswers(const QString& socketPath);

// Keeps one running copy per data folder: two copies would overwrite each other's changes
// when they save on exit. A plain local socket rather than Qt Network, whose libraries (proxy
// and Kerberos among them) would load at every start for one short message.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& dataFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the only copy, or when no guard can be had (then it runs
    // unguarded rather than not at all); false when the running copy has been asked to come to
    // the front and this one should exit.
    bool claim();

signals:
    void activationRequested();

private:
    bool askRunningCopyToActivate();
    bool listen();
    void acceptConnections();
    void readRequest(int connection, QSocketNotifier* notifier);

    QString socketPath_;  // empty when the user has no private runtime folder
    int listener_ = -1;
    std::map<int, QByteArray> requests_;  // what each accepted connection has sent so far
};

}  // namespace velandri
