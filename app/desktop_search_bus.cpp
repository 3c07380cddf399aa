#include "app/desktop_search_bus.h"

#include <QDBusConnection>
#include <QDBusMetaType>
#include <QFileInfo>

namespace velandri {

namespace {

const QString kBusName = QStringLiteral("invalid.velandri.velandri");
const QString kGnomePath = QStringLiteral("/invalid/velandri/velandri/SearchProvider");
const QString kKRunnerPath = QStringLiteral("/invalid/velandri/velandri/krunner");
const QString kIconName = QStringLiteral("velandri");
// KRunner's "possible match": found by words, not the one exact answer.
constexpr int kPossibleMatch = 20;

// Asked without an address, the bus library would start a bus of its own through X11.
bool sessionBusKnown() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo(runtime + QStringLiteral("/bus")).exists();
}

}  // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const RunnerMatch& match) {
    argument.beginStructure();
    argument << match.id << match.text << match.iconName << match.type << match.relevance
             << match.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, RunnerMatch& match) {
    argument.beginStructure();
    argument >> match.id >> match.text >> match.iconName >> match.type >> match.relevance >>
        match.properties;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const RunnerAction& action) {
    argument.beginStructure();
    argument << action.id << action.text << action.iconName;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, RunnerAction& action) {
    argument.beginStructure();
    argument >> action.id >> action.text >> action.iconName;
    argument.endStructure();
    return argument;
}

GnomeSearchProvider::GnomeSearchProvider(DesktopSearch& search, QObject* parent)
    : QObject(parent), search_(search) {}

QStringList GnomeSearchProvider::GetInitialResultSet(const QStringList& terms) {
    return search_.find(terms);
}

// A fresh search: the store may have changed since the previous one.
QStringList GnomeSearchProvider::GetSubsearchResultSet(const QStringList&,
                                                       const QStringList& terms) {
    return search_.find(terms);
}

QList<QVariantMap> GnomeSearchProvider::GetResultMetas(const QStringList& identifiers) {
    QList<QVariantMap> metas;
    for (const DesktopResult& result : search_.describe(identifiers)) {
        metas << QVariantMap{{QStringLiteral("id"), result.id},
                             {QStringLiteral("name"), result.name},
                             {QStringLiteral("description"), result.description},
                             {QStringLiteral("gicon"), kIconName}};
    }
    return metas;
}

void GnomeSearchProvider::ActivateResult(const QString& identifier, const QStringList&, uint) {
    search_.open(identifier);
}

void GnomeSearchProvider::LaunchSearch(const QStringList& terms, uint) { search_.showAll(terms); }

KRunnerRunner::KRunnerRunner(DesktopSearch& search, QObject* parent)
    : QObject(parent), search_(search) {}

QList<RunnerAction> KRunnerRunner::Actions() { return {}; }

// Best first, as the window lists them; KRunner orders by relevance.
QList<RunnerMatch> KRunnerRunner::Match(const QString& query) {
    const QStringList ids = search_.find({query});
    QList<RunnerMatch> matches;
    const std::vector<DesktopResult> results = search_.describe(ids);
    for (const DesktopResult& result : results) {
        const double relevance = 1.0 - double(matches.size()) / double(results.size() + 1);
        matches << RunnerMatch{result.id, result.name,
                               kIconName, kPossibleMatch,
                               relevance, {{QStringLiteral("subtext"), result.description}}};
    }
    return matches;
}

void KRunnerRunner::Run(const QString& matchId, const QString&) { search_.open(matchId); }

DesktopSearchBus::DesktopSearchBus(DesktopSearch& search)
    : gnome_(new GnomeSearchProvider(search, this)), krunner_(new KRunnerRunner(search, this)) {
    qDBusRegisterMetaType<RunnerMatch>();
    qDBusRegisterMetaType<RunnerAction>();
    qDBusRegisterMetaType<QList<RunnerMatch>>();
    qDBusRegisterMetaType<QList<RunnerAction>>();
    qDBusRegisterMetaType<QList<QVariantMap>>();
}

void DesktopSearchBus::registerOnSessionBus() {
    if (!sessionBusKnown()) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    bus.registerObject(kGnomePath, gnome_, QDBusConnection::ExportAllSlots);
    bus.registerObject(kKRunnerPath, krunner_, QDBusConnection::ExportAllSlots);
    bus.registerService(kBusName);
}

}  // namespace velandri
