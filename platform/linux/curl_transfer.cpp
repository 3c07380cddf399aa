#include "platform/linux/curl_transfer.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>
#include <string_view>

namespace velandri {

namespace {

constexpr long kMaxRedirects = 5;

struct Transfer {
    CurlResponse& response;
    const CurlProgress& progress;
    std::int64_t maxBodyBytes;
    bool tooLarge = false;
};

size_t collectBody(char* data, size_t size, size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    if (std::int64_t(transfer.response.body.size() + bytes) > transfer.maxBodyBytes) {
        transfer.tooLarge = true;
        return 0;  // anything short of bytes makes libcurl abandon the transfer
    }
    transfer.response.body.append(data, bytes);
    return bytes;
}

// Each response of a redirect chain starts with its status line; only the last one is kept.
size_t collectHeader(char* data, size_t size, size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    const std::string_view line(data, bytes);
    if (line.starts_with("HTTP/")) transfer.response.headers.clear();
    transfer.response.headers.append(line);
    return bytes;
}

int reportProgress(void* user, curl_off_t total, curl_off_t received, curl_off_t, curl_off_t) {
    auto& transfer = *static_cast<Transfer*>(user);
    if (transfer.progress) transfer.progress(std::int64_t(received), std::int64_t(total));
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

CurlResult perform(const std::string& url, const CurlProgress& progress, const HttpLimits& limits,
                   const Pace& pace) {
    initialiseCurl();
    CurlResponse response;
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(),
                                                                   curl_easy_cleanup);
    if (!curl) return CurlFailure{"libcurl could not start a transfer"};
    Transfer transfer{response, progress, limits.maxBodyBytes};
    char errorText[CURL_ERROR_SIZE] = {};
    setTransferOptions(curl.get(), transfer, errorText);
    setLimits(curl.get(), limits, pace);
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());

    const CURLcode result = curl_easy_perform(curl.get());
    if (result != CURLE_OK)
        return CurlFailure{transfer.tooLarge ? "body larger than the limit"
                           : errorText[0]    ? errorText
                                             : curl_easy_strerror(result)};
    curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &response.status);
    return response;
}

}  // namespace

void initialiseCurl() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

CurlResult curlGetPage(const std::string& url, const HttpLimits& limits) {
    return perform(url, {}, limits, Pace{limits.pageTimeoutMs, 0, 0});
}

CurlResult curlDownload(const std::string& url, const HttpLimits& limits,
                        const CurlProgress& progress) {
    const Pace pace{limits.downloadTimeoutMs, limits.lowSpeedBytesPerSecond,
                    limits.lowSpeedSeconds};
    return perform(url, progress, limits, pace);
}

}  // namespace velandri
