#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <functional>

struct HttpResponse {
    bool ok = false;     // the transfer completed (any status)
    long status = 0;     // HTTP status code
    QByteArray headers;  // all header lines of the last response, as received
    QByteArray body;
    QString error;       // why the transfer failed, when !ok
};

// received and total bytes; total is 0 when the size is not known.
using HttpProgress = std::function<void(qint64 received, qint64 total)>;

// A synchronous GET with the connect and total time-outs and the size cap of the client.
class HttpClient {
public:
    virtual ~HttpClient() = default;
    virtual HttpResponse get(const QString& url, const HttpProgress& progress = {}) = 0;
};
