#include "update/site_updater.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <utility>

#include "platform/program_identity.h"
#include "update/version.h"

namespace {

const QString kVersionPage = QStringLiteral("SoftVer.html");
const QString kArchiveAddress = QStringLiteral("send/URL/Pelkamo.zip");
const QString kArchiveName = QStringLiteral("Pelkamo.zip");
const QString kUpdater = QStringLiteral("Pelkamo.exe");
const QString kQuestion =
    QStringLiteral("新しいバージョンのソフトが見つかりました。\r\nインストールしますか？");

}  // namespace

SiteUpdater::SiteUpdater(const Platform& platform, DataPaths paths, QString baseUrl,
                         DownloadProgress& progress)
    : platform_(platform),
      paths_(std::move(paths)),
      baseUrl_(std::move(baseUrl)),
      progress_(progress) {}

HttpClient& SiteUpdater::createXmlHttp() { return platform_.http; }

void SiteUpdater::checkVersion(QString& latestVersion) {
    const HttpResponse response = createXmlHttp().get(baseUrl_ + kVersionPage);
    if (!response.ok) return;
    // The identifier and the cell markers are ASCII; the page itself is taken as UTF-8.
    const std::optional<QString> version = parseVersionPage(QString::fromUtf8(response.body));
    if (version) latestVersion = *version;
}

void SiteUpdater::subUpdate() {
    if (!platform_.messages.ask(kProgramName, kQuestion)) return;
    platform_.events.processPending();

    const HttpResponse response = download(baseUrl_ + kArchiveAddress);
    if (!response.ok) return;
    // Only an archive written by this download is installed: a response that is not a zip
    // archive (an error page) must not install a file left over from an earlier attempt.
    if (!response.headers.contains("/zip")) return;
    const QString archivePath = paths_.dataFolder + QLatin1Char('/') + kArchiveName;
    if (!saveArchive(archivePath, response.body)) return;
    if (!install(archivePath)) return;
    platform_.programEnd.endNow();
}

HttpResponse SiteUpdater::download(const QString& url) {
    progress_.begin();
    HttpResponse response = platform_.http.download(
        url, [this](qint64 received, qint64 total) { progress_.progress(received, total); });
    progress_.end();
    return response;
}

// Replaces any earlier archive as a whole, so a shorter download never keeps an old tail.
bool SiteUpdater::saveArchive(const QString& archivePath, const QByteArray& bytes) {
    // The data folder does not exist before the first save; an update must not need one.
    if (!QDir().mkpath(paths_.dataFolder)) return false;
    QSaveFile file(archivePath);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size()) return false;
    return file.commit();
}

// Unpacks the archive into the data folder and starts the updater it brought from there.
// Whether the extraction succeeded is not examined: the start of the updater decides.
bool SiteUpdater::install(const QString& archivePath) {
    platform_.zip.extract(archivePath, paths_.dataFolder);
    if (!QFile::remove(archivePath)) return false;
    if (!platform_.files.setCurrentDirectory(paths_.dataFolder)) return false;
    // An archive made on Windows gives its files no permission to run.
    if (!platform_.process.allowToRun(paths_.dataFolder + QLatin1Char('/') + kUpdater))
        return false;
    return platform_.process.start(kUpdater, WindowStyle::NormalFocus);
}
