#pragma once

#include <QDBusArgument>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "app/logic/desktop_search.h"

namespace velandri {

// One match of KRunner's runner interface: (sssida{sv}).
struct RunnerMatch {
    QString id;
    QString text;
    QString iconName;
    int type = 0;
    double relevance = 0;
    QVariantMap properties;
};

// One action KRunner may offer beside a match: (sss).
struct RunnerAction {
    QString id;
    QString text;
    QString iconName;
};

}  // namespace velandri

Q_DECLARE_METATYPE(velandri::RunnerMatch)
Q_DECLARE_METATYPE(velandri::RunnerAction)

namespace velandri {

// GNOME Shell's search provider interface, answered from the desktop search.
class GnomeSearchProvider : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Shell.SearchProvider2")

public:
    GnomeSearchProvider(DesktopSearch& search, QObject* parent);

public slots:
    QStringList GetInitialResultSet(const QStringList& terms);
    QStringList GetSubsearchResultSet(const QStringList& previousResults, const QStringList& terms);
    QList<QVariantMap> GetResultMetas(const QStringList& identifiers);
    void ActivateResult(const QString& identifier, const QStringList& terms, uint timestamp);
    void LaunchSearch(const QStringList& terms, uint timestamp);

private:
    DesktopSearch& search_;
};

// KRunner's D-Bus runner interface, answered from the desktop search.
class KRunnerRunner : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.krunner1")

public:
    KRunnerRunner(DesktopSearch& search, QObject* parent);

public slots:
    QList<RunnerAction> Actions();
    QList<RunnerMatch> Match(const QString& query);
    void Run(const QString& matchId, const QString& actionId);

private:
    DesktopSearch& search_;
};

// Both interfaces under the program's name on this user's session bus. Without a session bus
// the program runs as before and says nothing.
class DesktopSearchBus : public QObject {
    Q_OBJECT

public:
    explicit DesktopSearchBus(DesktopSearch& search);
    void registerOnSessionBus();

private:
    GnomeSearchProvider* gnome_;
    KRunnerRunner* krunner_;
};

}  // namespace velandri
