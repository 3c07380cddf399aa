#pragma once

#include <QString>

#include "platform/event_pump.h"
#include "platform/file_system.h"
#include "platform/http.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/program_end.h"
#include "platform/result.h"
#include "platform/signature.h"
#include "platform/zip.h"
#include "update/download_progress.h"
#include "update/failure_notice.h"
#include "update/updater.h"

namespace velandri {

// The parts of the platform an update uses.
struct UpdatePlatform {
    HttpClient& http;
    ZipExtractor& zip;
    SignatureVerifier& signatures;
    FileSystem& files;
    ProcessStarter& process;
    MessageBox& messages;
    FailureNotice& notices;
    EventPump& events;
    ProgramEnd& programEnd;
};

// The version check and the self-update against the maker's web site at baseUrl, which ends
// with a slash; the page and archive names are appended to it as they are. An archive is
// installed only when the maker's signature beside it holds for exactly the bytes that came and
// its trusted comment names the version this updater's check found; when it does not, the user is
// told of that kind of failure once. Otherwise neither tells
// the user why it failed, so each failure is logged with its reason.
class SiteUpdater : public Updater {
public:
    SiteUpdater(const UpdatePlatform& platform, DataPaths paths, QString baseUrl,
                DownloadProgress& progress);

    void checkVersion(QString& latestVersion) override;
    void subUpdate() override;

private:
    HttpClient& createXmlHttp();
    Result<QString> fetchLatestVersion();
    Result<> downloadAndInstall();
    Result<HttpResponse> download(const QString& url);
    Result<> verify(const HttpResponse& archive);
    Result<> saveArchive(const QString& archivePath, const QByteArray& bytes);
    Result<> install(const QString& archivePath);
    QString archivePath() const;

    UpdatePlatform platform_;
    DataPaths paths_;
    QString baseUrl_;
    DownloadProgress& progress_;
    QString announcedVersion_;  // what the last check found; empty before
};

}  // namespace velandri
