#include "platform/linux/curl_http.h"

#include "platform/linux/curl_transfer.h"

namespace velandri {

namespace {

QByteArray bytes(const std::string& text) {
    return QByteArray(text.data(), qsizetype(text.size()));
}

Result<HttpResponse> adapted(const CurlAnswer& answer) {
    if (!answer)
        return Failure{FailureKind::transferFailed, QString::fromStdString(answer.error())};
    const CurlResponse& response = answer.value();
    return HttpResponse{response.status, bytes(response.headers), bytes(response.body)};
}

}  // namespace

CurlHttpClient::CurlHttpClient(HttpLimits limits) : limits_(limits) {}

Result<HttpResponse> CurlHttpClient::get(const QString& url) {
    return adapted(curlGetPage(url.toStdString(), limits_));
}

Result<HttpResponse> CurlHttpClient::download(const QString& url, const HttpProgress& progress) {
    return adapted(curlDownload(url.toStdString(), limits_, progress));
}

}  // namespace velandri
