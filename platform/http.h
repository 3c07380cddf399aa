#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <functional>

#include "platform/result.h"

namespace velandri {

// A completed transfer, whatever its status.
struct HttpResponse {
    long status = 0;     // HTTP status code
    QByteArray headers;  // all header lines of the last response, as received
    QByteArray body;
};

// received and total bytes; total is 0 when the size is not known. Returns false to abandon the
// transfer, which then fails.
using HttpProgress = std::function<bool(qint64 received, qint64 total)>;

// Synchronous GETs, each stopped at the client's size cap (a page's is far smaller than a
// download's). Redirects are followed to http and https only, and never from https to http. A
// failure says why the transfer did not complete.
class HttpClient {
public:
    virtual ~HttpClient() = default;
    // A page: it must arrive within the client's connect and total time-outs.
    virtual Result<HttpResponse> get(const QString& url) = 0;
    // A large body over a line of any speed: given up when it stalls, not when it is slow.
    virtual Result<HttpResponse> download(const QString& url, const HttpProgress& progress) = 0;
};

}  // namespace velandri
