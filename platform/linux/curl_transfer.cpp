#include "platform/linux/curl_transfer.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <memory>
#include <mutex>

namespace velandri {

namespace {

constexpr int kMaxRedirects = 5;

struct Transfer {
    CurlResponse& response;
    const CurlProgress& progress;
    std::int64_t maxBodyBytes;
    bool tooLarge = false;
    bool abandoned = false;
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
    if (!transfer.progress || transfer.progress(std::int64_t(received), std::int64_t(total)))
        return 0;
    transfer.abandoned = true;
    return 1;  // anything but 0 makes libcurl abandon the transfer
}

// Redirects are followed here, one at a time, rather than by libcurl, which cannot tell an https
// address's redirect from an http one's.
void setTransferOptions(CURL* curl, Transfer& transfer, char* errorText) {
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collectBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, collectHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, reportProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
}

// How long one transfer may take: a total and, when lowSpeedSeconds is not 0, a low-speed rule;
// and how much it may bring.
struct Pace {
    long totalMs;
    long lowSpeedBytesPerSecond;
    long lowSpeedSeconds;
    std::int64_t maxBodyBytes;
};

void setLimits(CURL* curl, const HttpLimits& limits, const Pace& pace) {
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, pace.lowSpeedBytesPerSecond);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, pace.lowSpeedSeconds);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(pace.maxBodyBytes));
}

std::string lowerScheme(std::string_view url) {
    std::string scheme(url.substr(0, std::min(url.find(':'), url.size())));
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return scheme;
}

std::string failed(const Transfer& transfer, CURLcode result, const char* errorText) {
    if (transfer.tooLarge) return "body larger than the limit";
    if (transfer.abandoned) return "abandoned while it was under way";
    return errorText[0] ? errorText : curl_easy_strerror(result);
}

CurlAnswer perform(std::string url, const CurlProgress& progress, const HttpLimits& limits,
                   const Pace& pace) {
    initialiseCurl();
    CurlResponse response;
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(),
                                                                   curl_easy_cleanup);
    if (!curl) return std::string("libcurl could not start a transfer");
    Transfer transfer{response, progress, pace.maxBodyBytes};
    char errorText[CURL_ERROR_SIZE] = {};
    setTransferOptions(curl.get(), transfer, errorText);
    setLimits(curl.get(), limits, pace);

    // The total time holds for the whole chain of redirects.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(pace.totalMs);
    for (int redirects = 0;; ++redirects) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT_MS, long(std::max<long>(1, left.count())));
        curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
        response.body.clear();
        const CURLcode result = curl_easy_perform(curl.get());
        if (result != CURLE_OK) return failed(transfer, result, errorText);
        curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &response.status);
        const char* next = nullptr;
        curl_easy_getinfo(curl.get(), CURLINFO_REDIRECT_URL, &next);
        if (next == nullptr || response.status / 100 != 3) return response;
        if (redirects == kMaxRedirects) return std::string("more than five redirects");
        if (!mayRedirect(url, next))
            return "a redirect from " + lowerScheme(url) + " to " + lowerScheme(next) +
                   " is not followed";
        url = next;
    }
}

}  // namespace

bool mayRedirect(std::string_view from, std::string_view to) {
    const std::string target = lowerScheme(to);
    if (target == "https") return true;
    return target == "http" && lowerScheme(from) == "http";
}

void initialiseCurl() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

CurlAnswer curlGetPage(const std::string& url, const HttpLimits& limits) {
    return perform(url, {}, limits, Pace{limits.pageTimeoutMs, 0, 0, limits.maxPageBytes});
}

CurlAnswer curlDownload(const std::string& url, const HttpLimits& limits,
                        const CurlProgress& progress) {
    const Pace pace{limits.downloadTimeoutMs, limits.lowSpeedBytesPerSecond, limits.lowSpeedSeconds,
                    limits.maxBodyBytes};
    return perform(url, progress, limits, pace);
}

}  // namespace velandri
