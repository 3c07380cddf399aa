#include "platform/linux/curl_http.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace velandri {

namespace {

constexpr long kMaxRedirects = 5;

struct Transfer {
    HttpResponse& response;
    const HttpProgress& progress;
    qint64 maxBodyBytes;
    bool tooLarge = false;
};

size_t collectBody(char* data, size_t size, size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    if (transfer.response.body.size() + qint64(bytes) > transfer.maxBodyBytes) {
        transfer.tooLarge = true;
        return 0;  // anything short of bytes makes libcurl abandon the transfer
    }
    transfer.response.body.append(data, qsizetype(bytes));
    return bytes;
}

// Each response of a redirect chain starts with its status line; only the last one is kept.
size_t collectHeader(char* data, size_t size, size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    const QByteArray line(data, qsizetype(bytes));
    if (line.startsWith("HTTP/")) transfer.response.headers.clear();
    transfer.response.headers.append(line);
    return bytes;
}

int reportProgress(void* user, curl_off_t total, curl_off_t received, curl_off_t, curl_off_t) {
    auto& transfer = *static_cast<Transfer*>(user);
    if (transfer.progress) transfer.progress(qint64(received), qint64(total));
    return 0;
}

void setTransferOptions(CURL* curl, Transfer& transfer, char* errorText) {
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collectBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, collectHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, reportProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
}

// How long one transfer may take: a total and, when lowSpeedSeconds is not 0, a low-speed rule.
struct Pace {
    long totalMs;
    long lowSpeedBytesPerSecond;
    long lowSpeedSeconds;
};

void setLimits(CURL* curl, const HttpLimits& limits, const Pace& pace) {
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, pace.totalMs);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, pace.lowSpeedBytesPerSecond);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, pace.lowSpeedSeconds);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(limits.maxBodyBytes));
}

Result<HttpResponse> perform(const QString& url, const HttpProgress& progress,
                             const HttpLimits& limits, const Pace& pace) {
    HttpResponse response;
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(),
                                                                   curl_easy_cleanup);
    if (!curl) return Failure{QStringLiteral("libcurl could not start a transfer")};
    Transfer transfer{response, progress, limits.maxBodyBytes};
    char errorText[CURL_ERROR_SIZE] = {};
    setTransferOptions(curl.get(), transfer, errorText);
    setLimits(curl.get(), limits, pace);
    const QByteArray address = url.toUtf8();
    curl_easy_setopt(curl.get(), CURLOPT_URL, address.constData());

    const CURLcode result = curl_easy_perform(curl.get());
    if (result != CURLE_OK)
        return Failure{transfer.tooLarge ? QStringLiteral("body larger than the limit")
                       : errorText[0]    ? QString::fromUtf8(errorText)
                                         : QString::fromUtf8(curl_easy_strerror(result))};
    curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &response.status);
    return response;
}

}  // namespace

CurlHttpClient::CurlHttpClient(HttpLimits limits) : limits_(limits) { initialiseLibrary(); }

void CurlHttpClient::initialiseLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

Result<HttpResponse> CurlHttpClient::get(const QString& url) {
    return perform(url, {}, limits_, Pace{limits_.pageTimeoutMs, 0, 0});
}

Result<HttpResponse> CurlHttpClient::download(const QString& url, const HttpProgress& progress) {
    const Pace pace{limits_.downloadTimeoutMs, limits_.lowSpeedBytesPerSecond,
                    limits_.lowSpeedSeconds};
    return perform(url, progress, limits_, pace);
}

}  // namespace velandri
