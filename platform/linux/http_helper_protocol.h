#pragma once

#include <QByteArray>
#include <QStringList>
#include <optional>

#include "platform/http.h"
#include "platform/linux/http_limits.h"

namespace velandri {

// The HTTP helper (velandri-http) reads one request on its standard input, the fields of
// requestText() one per line, runs that GET and answers on its standard output with
//   P <received> <total>\n                           progress, downloads only, any number
//   R <status> <header bytes> <body bytes>\n<headers><body>   or
//   E <bytes>\n<error text in UTF-8>
// and nothing after that. Byte counts are decimal; the payload is taken as it is. Its input
// closed without a request, it ends without a word.

enum class HelperMode { Page, Download };

struct HelperRequest {
    HelperMode mode = HelperMode::Page;
    QString url;
    HttpLimits limits;
};

// Empty when a field would not fit on one line.
QByteArray requestText(const HelperRequest& request);
std::optional<HelperRequest> parseRequestText(const QByteArray& text);

QByteArray progressRecord(qint64 received, qint64 total);
QByteArray answerRecord(const Result<HttpResponse>& response);

// Reads the helper's output as it arrives, passing progress on at once, and refuses anything
// that does not follow the records above or exceeds the body cap.
class HelperOutput {
public:
    explicit HelperOutput(qint64 maxBodyBytes);

    // False once the output can no longer be a valid answer; problem() says why.
    bool take(const char* data, qsizetype size, const HttpProgress& progress);
    bool complete() const { return state_ == State::Done; }
    QString problem() const { return problem_; }
    // The answer, once complete.
    Result<HttpResponse> response();

private:
    enum class State { Lines, Payload, Done, Failed };

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
