#pragma once

#include "platform/http.h"
#include "platform/linux/http_limits.h"

namespace velandri {

// libcurl's transfers (curl_transfer.h) linked in, as an HttpClient: for the tests, which run
// each case both this way and through the helper the program uses.
class CurlHttpClient : public HttpClient {
public:
    explicit CurlHttpClient(HttpLimits limits = {});

    Result<HttpResponse> get(const QString& url) override;
    Result<HttpResponse> download(const QString& url, const HttpProgress& progress) override;

private:
    HttpLimits limits_;
};

}  // namespace velandri
