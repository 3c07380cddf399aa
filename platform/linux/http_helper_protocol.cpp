#include "platform/linux/http_helper_protocol.h"

#include <tuple>
#include <type_traits>
#include <utility>

namespace velandri {

namespace {

// A progress or answer line is a few numbers; anything longer is not the helper talking.
constexpr qsizetype kMaxLineBytes = 100;
// Header lines are small; this only stops a runaway helper.
constexpr qint64 kMaxHeaderBytes = 1024 * 1024;
constexpr qint64 kMaxErrorBytes = 64 * 1024;

const QByteArray kPage = QByteArrayLiteral("page");
const QByteArray kDownload = QByteArrayLiteral("download");

std::optional<qint64> number(const QByteArray& text) {
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok || value < 0) return std::nullopt;
    return value;
}

// The limits in the order the request carries them, after the mode and the address; the one
// list both ends follow.
template <typename Limits>  // HttpLimits, const or not
auto limitFields(Limits& limits) {
    return std::tie(limits.connectTimeoutMs, limits.pageTimeoutMs, limits.lowSpeedBytesPerSecond,
                    limits.lowSpeedSeconds, limits.downloadTimeoutMs, limits.maxBodyBytes);
}

constexpr qsizetype kLimitFieldCount =
    std::tuple_size_v<decltype(limitFields(std::declval<HttpLimits&>()))>;

}  // namespace

QByteArray requestText(const HelperRequest& request) {
    const QByteArray url = request.url.toUtf8();
    if (url.contains('\n')) return {};
    QByteArray text =
        (request.mode == HelperMode::Download ? kDownload : kPage) + '\n' + url + '\n';
    std::apply([&text](const auto&... field) { ((text += QByteArray::number(field) + '\n'), ...); },
               limitFields(request.limits));
    return text;
}

std::optional<HelperRequest> parseRequestText(const QByteArray& text) {
    if (!text.endsWith('\n')) return std::nullopt;
    const QList<QByteArray> fields = text.chopped(1).split('\n');
    if (fields.size() != 2 + kLimitFieldCount) return std::nullopt;
    if (fields[0] != kPage && fields[0] != kDownload) return std::nullopt;
    HelperRequest request;
    request.mode = fields[0] == kDownload ? HelperMode::Download : HelperMode::Page;
    request.url = QString::fromUtf8(fields[1]);
    qsizetype next = 2;
    const auto read = [&fields, &next](auto& field) {
        const std::optional<qint64> value = number(fields[next++]);
        if (value) field = std::remove_reference_t<decltype(field)>(*value);
        return value.has_value();
    };
    const bool readable = std::apply([&read](auto&... field) { return (read(field) && ...); },
                                     limitFields(request.limits));
    if (!readable) return std::nullopt;
    return request;
}

QByteArray progressRecord(qint64 received, qint64 total) {
    return "P " + QByteArray::number(received) + ' ' + QByteArray::number(total) + '\n';
}

QByteArray answerRecord(const Result<HttpResponse>& result) {
    if (!result) {
        const QByteArray error = result.error().reason.toUtf8();
        return "E " + QByteArray::number(error.size()) + '\n' + error;
    }
    const HttpResponse& response = result.value();
    return "R " + QByteArray::number(qint64(response.status)) + ' ' +
           QByteArray::number(response.headers.size()) + ' ' +
           QByteArray::number(response.body.size()) + '\n' + response.headers + response.body;
}

HelperOutput::HelperOutput(qint64 maxBodyBytes) : maxBodyBytes_(maxBodyBytes) {}

bool HelperOutput::take(const char* data, qsizetype size, const HttpProgress& progress) {
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
        if (progress) progress(*received, *total);
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
        return Failure{buffer_.isEmpty() ? QStringLiteral("the transfer failed")
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
