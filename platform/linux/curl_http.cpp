#include "platform/linux/curl_http.h"

#include <variant>

#include "platform/linux/curl_transfer.h"

namespace velandri {

namespace {

QByteArray bytes(const std::string& text) {
    return QByteArray(text.data(), qsizetype(text.size()));
}

Result<HttpResponse> adapted(const CurlResult& result) {
    if (const auto* failure = std::get_if<CurlFailure>(&result))
        return Failure{FailureKind::transferFailed, QString::fromStdString(failure->reason)};
    const auto& response = std::get<CurlResponse>(result);
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
