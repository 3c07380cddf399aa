#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "platform/http.h"

namespace velandri {

// Reads the HTTP helper's output (http_helper_protocol.h) as it arrives, passing progress on at
// once, and refuses anything that does not follow the records or exceeds the body cap. A
// progress that returns false ends the reading as a failure.
class HelperOutput {
public:
    explicit HelperOutput(qint64 maxBodyBytes);

    // Fails once the output can no longer be a valid answer, and on every call after.
    Result<> take(const char* data, qsizetype size, const HttpProgress& progress);
    bool complete() const { return state_ == State::Done; }
    // The answer, once complete.
    Result<HttpResponse> response();

private:
    enum class State { Lines, Payload, Done, Failed };

    bool takeBytes(const char* data, qsizetype size, const HttpProgress& progress);
    bool takeLines(const HttpProgress& progress);
    bool takeLine(const QByteArray& line, const HttpProgress& progress);
    bool startPayload(const QList<QByteArray>& fields);
    bool fail(const QString& problem);

    qint64 maxBodyBytes_;
    State state_ = State::Lines;
    QByteArray buffer_;
    bool isError_ = false;
    long status_ = 0;
    qint64 headerBytes_ = 0;
    qint64 payloadBytes_ = 0;
    QString problem_;
};

}  // namespace velandri
