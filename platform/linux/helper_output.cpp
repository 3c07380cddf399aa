#include "platform/linux/helper_output.h"

#include <optional>
#include <string_view>
#include <utility>

#include "platform/linux/http_helper_protocol.h"

namespace velandri {

namespace {

// A progress or answer line is a few numbers; anything longer is not the helper talking.
constexpr qsizetype kMaxLineBytes = 100;
// Header lines are small; this only stops a runaway helper.
constexpr qint64 kMaxHeaderBytes = 1024 * 1024;
constexpr qint64 kMaxErrorBytes = 64 * 1024;

std::optional<qint64> number(const QByteArray& text) {
    return parseCount(std::string_view(text.constData(), size_t(text.size())));
}

}  // namespace

HelperOutput::HelperOutput(qint64 maxBodyBytes) : maxBodyBytes_(maxBodyBytes) {}

Result<> HelperOutput::take(const char* data, qsizetype size, const HttpProgress& progress) {
    if (!takeBytes(data, size, progress)) return Failure{FailureKind::transferFailed, problem_};
    return {};
}

// The parser's steps say only whether the output is still valid; fail() keeps the reason.
bool HelperOutput::takeBytes(const char* data, qsizetype size, const HttpProgress& progress) {
    if (state_ == State::Failed) return false;
    if (state_ == State::Done) return size == 0 || fail(QStringLiteral("output after the answer"));
    buffer_.append(data, size);
    if (state_ == State::Lines && !takeLines(progress)) return false;
    if (state_ != State::Payload || buffer_.size() < payloadBytes_) return true;
    if (buffer_.size() > payloadBytes_) return fail(QStringLiteral("output after the answer"));
    state_ = State::Done;
    return true;
}

bool HelperOutput::takeLines(const HttpProgress& progress) {
    while (state_ == State::Lines) {
        const qsizetype end = buffer_.indexOf('\n');
        if (end < 0)
            return buffer_.size() <= kMaxLineBytes || fail(QStringLiteral("unreadable output"));
        const QByteArray line = buffer_.left(end);
        buffer_.remove(0, end + 1);
        if (!takeLine(line, progress)) return false;
    }
    return true;
}

bool HelperOutput::takeLine(const QByteArray& line, const HttpProgress& progress) {
    const QList<QByteArray> fields = line.split(' ');
    if (fields[0] == "P" && fields.size() == 3) {
        const std::optional<qint64> received = number(fields[1]);
        const std::optional<qint64> total = number(fields[2]);
        if (!received || !total) return fail(QStringLiteral("unreadable output"));
        if (progress && !progress(*received, *total))
            return fail(QStringLiteral("abandoned while it was under way"));
        return true;
    }
    return startPayload(fields);
}

bool HelperOutput::startPayload(const QList<QByteArray>& fields) {
    const bool answer = fields[0] == "R" && fields.size() == 4;
    const bool error = fields[0] == "E" && fields.size() == 2;
    if (!answer && !error) return fail(QStringLiteral("unreadable output"));
    std::optional<qint64> counts[3];
    for (qsizetype i = 1; i < fields.size(); ++i) counts[i - 1] = number(fields[i]);
    if (!counts[0] || (answer && (!counts[1] || !counts[2])))
        return fail(QStringLiteral("unreadable output"));
    isError_ = error;
    if (error) {
        payloadBytes_ = *counts[0];
        if (payloadBytes_ > kMaxErrorBytes)
            return fail(QStringLiteral("answer larger than the limit"));
    } else {
        status_ = long(*counts[0]);
        headerBytes_ = *counts[1];
        if (headerBytes_ > kMaxHeaderBytes || *counts[2] > maxBodyBytes_)
            return fail(QStringLiteral("answer larger than the limit"));
        payloadBytes_ = headerBytes_ + *counts[2];
    }
    buffer_.reserve(payloadBytes_);
    state_ = State::Payload;
    return true;
}

bool HelperOutput::fail(const QString& problem) {
    state_ = State::Failed;
    problem_ = problem;
    buffer_.clear();
    return false;
}

Result<HttpResponse> HelperOutput::response() {
    if (isError_) {
        return Failure{FailureKind::transferFailed, buffer_.isEmpty()
                                                        ? QStringLiteral("the transfer failed")
                                                        : QString::fromUtf8(buffer_)};
    }
    HttpResponse response;
    response.status = status_;
    response.headers = buffer_.left(headerBytes_);
    response.body = std::move(buffer_.remove(0, headerBytes_));
    buffer_.clear();
    return response;
}

}  // namespace velandri
