#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <variant>

#include "platform/linux/http_limits.h"

namespace velandri {

// libcurl's transfers in standard types only, so that the HTTP helper runs without Qt; the
// CurlHttpClient gives them the program's HttpClient interface.

struct CurlResponse {
    long status = 0;
    std::string headers;  // all header lines of the last response, as received
    std::string body;
};

struct CurlFailure {
    std::string reason;
};

using CurlResult = std::variant<CurlResponse, CurlFailure>;

// received and total bytes; total is 0 when the size is not known.
using CurlProgress = std::function<void(std::int64_t received, std::int64_t total)>;

// libcurl's global start, done by the first transfer; callable ahead of it.
void initialiseCurl();

// Both GETs are synchronous. Redirects are followed; the headers are those of the last response.
// A body larger than the cap is abandoned.

// A page must arrive within the connect and page time-outs.
CurlResult curlGetPage(const std::string& url, const HttpLimits& limits);
// A download is given up when it stalls, not when it is slow.
CurlResult curlDownload(const std::string& url, const HttpLimits& limits,
                        const CurlProgress& progress);

}  // namespace velandri
