#pragma once

#include "platform/http.h"

namespace velandri {

// The client's bounds. A page must come quickly; an archive over a slow line may take long, so
// its download is bounded by a low-speed rule (fewer than lowSpeedBytesPerSecond for
// lowSpeedSeconds in a row) and a generous total instead.
struct HttpLimits {
    long connectTimeoutMs = 3'000;
    long pageTimeoutMs = 10'000;
    long lowSpeedBytesPerSecond = 1'024;
    long lowSpeedSeconds = 15;
    long downloadTimeoutMs = 30 * 60 * 1'000;
    qint64 maxBodyBytes = qint64(64) * 1024 * 1024;
};

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
