#pragma once

#include <memory>

#include "platform/http.h"
#include "platform/linux/http_limits.h"

namespace velandri {

class HelperProcess;

// HTTP through the helper program velandri-http, one process per GET, so that the program
// itself never maps libcurl and its TLS and directory libraries. Blocks like CurlHttpClient,
// without running an event loop; a download reports progress as the helper reports it, and a
// progress that returns false abandons it (the helper is killed then). A helper that is missing,
// dies, answers garbage or too much, or outlives the client's limits (killed then) makes a
// failed transfer.
class HelperHttpClient : public HttpClient {
public:
    explicit HelperHttpClient(QString helperPath, HttpLimits limits = {});
    ~HelperHttpClient() override;

    // Starts the helper for the next GET now, so that it loads while the caller goes on; it is
    // sent no request before that GET, and ends with the client if none comes.
    void startAhead();

    Result<HttpResponse> get(const QString& url) override;
    Result<HttpResponse> download(const QString& url, const HttpProgress& progress) override;

private:
    Result<HttpResponse> run(const QString& url, bool download, const HttpProgress& progress);

    QString helperPath_;
    HttpLimits limits_;
    std::unique_ptr<HelperProcess> ahead_;
};

}  // namespace velandri
