#include "update/site_updater.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <utility>

#include "platform/designed_programs.h"
#include "platform/log.h"
#include "platform/program_identity.h"
#include "update/version.h"

namespace velandri {

namespace {

const QString kVersionPage = QStringLiteral("SoftVer.html");
const QString kArchiveAddress = QStringLiteral("send/URL/Pelkamo.zip");
const QString kArchiveName = QStringLiteral("Pelkamo.zip");
const QString kQuestion =
    QStringLiteral("新しいバージョンのソフトが見つかりました。\r\nインストールしますか？");

}  // namespace

SiteUpdater::SiteUpdater(const UpdatePlatform& platform, DataPaths paths, QString baseUrl,
                         DownloadProgress& progress)
    : platform_(platform),
      paths_(std::move(paths)),
      baseUrl_(std::move(baseUrl)),
      progress_(progress) {}

HttpClient& SiteUpdater::createXmlHttp() { return platform_.http; }

void SiteUpdater::checkVersion(QString& latestVersion) {
    const Result<QString> latest = fetchLatestVersion();
    if (latest)
        latestVersion = latest.value();
    else
        qCInfo(velandriLog).noquote() << "version check failed:" << latest.error().reason;
}

Result<QString> SiteUpdater::fetchLatestVersion() {
    const QString url = baseUrl_ + kVersionPage;
    const Result<HttpResponse> response = createXmlHttp().get(url);
    if (!response) return response.error();
    // The identifier and the cell markers are ASCII; the page itself is taken as UTF-8.
    const std::optional<QString> version =
        parseVersionPage(QString::fromUtf8(response.value().body));
    if (!version)
        return Failure{QStringLiteral("%1 (status %2) has no version row")
                           .arg(url)
                           .arg(response.value().status)};
    return *version;
}

void SiteUpdater::subUpdate() {
    if (!platform_.messages.ask(kProgramName, kQuestion)) return;
    platform_.events.processPending();

    if (const Result<> installed = downloadAndInstall(); !installed) {
        qCInfo(velandriLog).noquote() << "update failed:" << installed.error().reason;
        return;
    }
    platform_.programEnd.endNow();
}

Result<> SiteUpdater::downloadAndInstall() {
    const Result<QByteArray> archive = download(baseUrl_ + kArchiveAddress);
    if (!archive) return archive.error();
    const QString archivePath = paths_.dataFolder + QLatin1Char('/') + kArchiveName;
    if (const Result<> saved = saveArchive(archivePath, archive.value()); !saved) return saved;
    return install(archivePath);
}

// The archive's bytes, when the response says it is a zip archive.
Result<QByteArray> SiteUpdater::download(const QString& url) {
    progress_.begin();
    Result<HttpResponse> response = platform_.http.download(
        url, [this](qint64 received, qint64 total) { progress_.progress(received, total); });
    progress_.end();
    if (!response) return response.error();
    // Only an archive written by this download is installed: a response that is not a zip
    // archive (an error page) must not install a file left over from an earlier attempt.
    if (!response.value().headers.contains("/zip"))
        return Failure{QStringLiteral("%1 (status %2) is not a zip archive")
                           .arg(url)
                           .arg(response.value().status)};
    return std::move(response).value().body;
}

// Replaces any earlier archive as a whole, so a shorter download never keeps an old tail.
Result<> SiteUpdater::saveArchive(const QString& archivePath, const QByteArray& bytes) {
    // The data folder does not exist before the first save; an update must not need one.
    if (!QDir().mkpath(paths_.dataFolder))
        return Failure{QStringLiteral("cannot create the data folder %1").arg(paths_.dataFolder)};
    QSaveFile file(archivePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Failure{QStringLiteral("cannot write %1: %2").arg(archivePath, file.errorString())};
    return {};
}

// Unpacks the archive into the data folder and starts the updater it brought from there.
// A failed extraction is only logged: the start of the updater decides.
Result<> SiteUpdater::install(const QString& archivePath) {
    if (const Result<> extracted = platform_.zip.extract(archivePath, paths_.dataFolder);
        !extracted)
        qCInfo(velandriLog).noquote() << "extraction failed:" << extracted.error().reason;
    QFile archive(archivePath);
    if (!archive.remove())
        return Failure{
            QStringLiteral("cannot remove %1: %2").arg(archivePath, archive.errorString())};
    if (!platform_.files.setCurrentDirectory(paths_.dataFolder))
        return Failure{
            QStringLiteral("cannot change to the data folder %1").arg(paths_.dataFolder)};
    const QString updater = paths_.dataFolder + QLatin1Char('/') + DesignedProgram::updater;
    // An archive made on Windows gives its files no permission to run.
    if (!platform_.process.allowToRun(updater))
        return Failure{QStringLiteral("cannot allow %1 to run").arg(updater)};
    if (!platform_.process.start(DesignedProgram::updater, WindowStyle::NormalFocus))
        return Failure{QStringLiteral("cannot start %1 in %2")
                           .arg(DesignedProgram::updater, paths_.dataFolder)};
    return {};
}

}  // namespace velandri
