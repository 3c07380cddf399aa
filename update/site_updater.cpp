#include "update/site_updater.h"

#include <QFile>
#include <QSaveFile>
#include <utility>

#include "platform/designed_programs.h"
#include "platform/log.h"
#include "platform/program_identity.h"
#include "store/data_file.h"
#include "update/release_comment.h"
#include "update/version.h"

namespace velandri {

namespace {

const QString kVersionPage = QStringLiteral("SoftVer.html");
const QString kArchiveAddress = QStringLiteral("send/URL/Pelkamo.zip");
const QString kSignatureAddress = QStringLiteral("send/URL/Pelkamo.zip.minisig");
const QString kQuestion =
    QStringLiteral("新しいバージョンのソフトが見つかりました。\r\nインストールしますか？");
constexpr long kStatusOk = 200;

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
        latestVersion = announcedVersion_ = latest.value();
    else
        qCInfo(velandriLog).noquote() << "version check failed:" << latest.error().detail;
}

Result<QString> SiteUpdater::fetchLatestVersion() {
    const QString url = baseUrl_ + kVersionPage;
    const Result<HttpResponse> response = createXmlHttp().get(url);
    if (!response) return response.error();
    // The identifier and the cell markers are ASCII; the page itself is taken as UTF-8.
    const std::optional<QString> version =
        parseVersionPage(QString::fromUtf8(response.value().body));
    if (!version)
        return Failure{FailureKind::versionNotFound,
                       QStringLiteral("%1 (status %2) has no version row")
                           .arg(url)
                           .arg(response.value().status)};
    return *version;
}

void SiteUpdater::subUpdate() {
    if (!platform_.messages.ask(kProgramName, kQuestion)) return;
    platform_.events.processPending();

    if (const Result<> installed = downloadAndInstall(); !installed) {
        qCInfo(velandriLog).noquote() << "update failed:" << installed.error().detail;
        // An archive that is not installed is not kept: not a partial one, not an earlier one.
        QFile::remove(archivePath());
        return;
    }
    platform_.programEnd.endNow();
}

QString SiteUpdater::archivePath() const {
    return paths_.dataFolder + QLatin1Char('/') + kReleaseArchiveName;
}

Result<> SiteUpdater::downloadAndInstall() {
    const Result<HttpResponse> archive = download(baseUrl_ + kArchiveAddress);
    if (!archive) return archive.error();
    if (const Result<> verified = verify(archive.value()); !verified) {
        platform_.notices.tell(verified.error().kind);
        return verified;
    }
    if (const Result<> saved = saveArchive(archivePath(), archive.value().body); !saved)
        return saved;
    return install(archivePath());
}

// The response, when it says it is a zip archive and the user has let it come.
Result<HttpResponse> SiteUpdater::download(const QString& url) {
    bool stopped = false;
    progress_.begin();
    Result<HttpResponse> response =
        platform_.http.download(url, [this, &stopped](qint64 received, qint64 total) {
            stopped = !progress_.progress(received, total);
            return !stopped;
        });
    progress_.end();
    if (stopped)
        return Failure{FailureKind::updateNotInstalled,
                       QStringLiteral("the download of %1 was stopped").arg(url)};
    if (!response) return response.error();
    if (!response.value().headers.contains("/zip"))
        return Failure{FailureKind::updateNotInstalled,
                       QStringLiteral("%1 (status %2) is not a zip archive")
                           .arg(url)
                           .arg(response.value().status)};
    return response;
}

// Whether the archive is the maker's release of the announced version: a whole answer (status
// 200) whose bytes the signature published beside it signs with the built-in key, with a trusted
// comment that names the file and that version.
Result<> SiteUpdater::verify(const HttpResponse& archive) {
    const QString archiveUrl = baseUrl_ + kArchiveAddress;
    if (archive.status != kStatusOk)
        return Failure{
            FailureKind::releaseNotVerified,
            QStringLiteral("%1 answered with status %2").arg(archiveUrl).arg(archive.status)};
    const QString signatureUrl = baseUrl_ + kSignatureAddress;
    const Result<HttpResponse> signature = platform_.http.get(signatureUrl);
    if (!signature) return Failure{FailureKind::releaseNotVerified, signature.error().detail};
    if (signature.value().status != kStatusOk)
        return Failure{FailureKind::releaseNotVerified, QStringLiteral("%1 answered with status %2")
                                                            .arg(signatureUrl)
                                                            .arg(signature.value().status)};
    const Result<QByteArray> verified =
        platform_.signatures.verify(archive.body, signature.value().body);
    if (!verified)
        return Failure{
            FailureKind::releaseNotVerified,
            QStringLiteral("%1 is not verified: %2").arg(archiveUrl, verified.error().detail)};
    if (const Result<> release =
            checkReleaseComment(verified.value(), announcedVersion_, kOwnVersion);
        !release)
        return Failure{FailureKind::releaseNotVerified,
                       QStringLiteral("%1 is not the announced release: %2")
                           .arg(archiveUrl, release.error().detail)};
    return {};
}

// Replaces any earlier archive as a whole, so a shorter download never keeps an old tail.
Result<> SiteUpdater::saveArchive(const QString& archivePath, const QByteArray& bytes) {
    // The data folder does not exist before the first save; an update must not need one.
    if (!makeDataFolder(paths_.dataFolder))
        return Failure{FailureKind::updateNotInstalled,
                       QStringLiteral("cannot create the data folder %1").arg(paths_.dataFolder)};
    QSaveFile file(archivePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Failure{FailureKind::updateNotInstalled,
                       QStringLiteral("cannot write %1: %2").arg(archivePath, file.errorString())};
    return {};
}

// Unpacks the archive into the data folder and starts the updater it brought from there, when
// that is a regular file in the folder.
Result<> SiteUpdater::install(const QString& archivePath) {
    const Result<> extracted = platform_.zip.extract(archivePath, paths_.dataFolder);
    QFile archive(archivePath);
    if (!archive.remove())
        return Failure{
            FailureKind::updateNotInstalled,
            QStringLiteral("cannot remove %1: %2").arg(archivePath, archive.errorString())};
    if (!extracted)
        return Failure{FailureKind::updateNotInstalled,
                       QStringLiteral("extraction failed: ") + extracted.error().detail};
    if (!platform_.files.setCurrentDirectory(paths_.dataFolder))
        return Failure{
            FailureKind::updateNotInstalled,
            QStringLiteral("cannot change to the data folder %1").arg(paths_.dataFolder)};
    const QString updater = paths_.dataFolder + QLatin1Char('/') + DesignedProgram::updater;
    // An archive made on Windows gives its files no permission to run.
    if (!platform_.process.allowToRun(updater))
        return Failure{FailureKind::updateNotInstalled,
                       QStringLiteral("%1 is not a regular file that may run").arg(updater)};
    if (!platform_.process.start(DesignedProgram::updater, WindowStyle::NormalFocus))
        return Failure{FailureKind::updateNotInstalled,
                       QStringLiteral("cannot start %1 in %2")
                           .arg(DesignedProgram::updater, paths_.dataFolder)};
    return {};
}

}  // namespace velandri
