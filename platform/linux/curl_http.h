#pragma once

#include "platform/http.h"

// HTTP and HTTPS GET with libcurl's easy interface, synchronous. Redirects are followed; the
// headers are those of the last response. A body larger than the cap is abandoned.
class CurlHttpClient : public HttpClient {
public:
    static constexpr long kConnectTimeoutMs = 3'000;
    static constexpr long kTotalTimeoutMs = 10'000;
    static constexpr qint64 kMaxBodyBytes = qint64(64) * 1024 * 1024;

    explicit CurlHttpClient(long totalTimeoutMs = kTotalTimeoutMs,
                            qint64 maxBodyBytes = kMaxBodyBytes);

    HttpResponse get(const QString& url, const HttpProgress& progress = {}) override;

private:
    long totalTimeoutMs_;
    qint64 maxBodyBytes_;
};
