#pragma once

#include <QString>

#include "platform/paths.h"
#include "platform/platform.h"
#include "update/download_progress.h"
#include "update/updater.h"

// The version check and the self-update against the maker's web site at baseUrl, which ends
// with a slash; the page and archive names are appended to it as they are.
class SiteUpdater : public Updater {
public:
    SiteUpdater(const Platform& platform, DataPaths paths, QString baseUrl,
                DownloadProgress& progress);

    void checkVersion(QString& latestVersion) override;
    void subUpdate() override;

private:
    HttpClient& createXmlHttp();
    HttpResponse download(const QString& url);
    bool saveArchive(const QString& archivePath, const QByteArray& bytes);
    bool install(const QString& archivePath);

    Platform platform_;
    DataPaths paths_;
    QString baseUrl_;
    DownloadProgress& progress_;
};
