#pragma once

#include "platform/linux/curl_http.h"

// HTTP through the helper program velandri-http, one process per GET, so that the program
// itself never maps libcurl and its TLS and directory libraries. Blocks like CurlHttpClient,
// without running an event loop; a download reports progress as the helper reports it. A
// helper that is missing, dies, answers garbage or too much, or outlives the client's limits
// (killed then) makes a failed transfer.
class HelperHttpClient : public HttpClient {
public:
    explicit HelperHttpClient(QString helperPath, HttpLimits limits = {});

    HttpResponse get(const QString& url) override;
    HttpResponse download(const QString& url, const HttpProgress& progress) override;

private:
    QString helperPath_;
    HttpLimits limits_;
};
