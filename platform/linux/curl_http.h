#pragma once

#include "platform/http.h"
#include "platform/linux/http_limits.h"

namespace velandri {

// HTTP and HTTPS GET with libcurl's easy interface, synchronous. Redirects are followed; the
// headers are those of the last response. A body larger than the cap is abandoned.
class CurlHttpClient : public HttpClient {
public:
    explicit CurlHttpClient(HttpLimits limits = {});
    // libcurl's global start, done by the first client; callable ahead of it.
    static void initialiseLibrary();

    Result<HttpResponse> get(const QString& url) override;
    Result<HttpResponse> download(const QString& url, const HttpProgress& progress) override;

private:
    HttpLimits limits_;
};

}  // namespace velandri
