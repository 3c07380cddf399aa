#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/basic_result.h"
#include "platform/linux/http_limits.h"

namespace velandri {

// libcurl's transfers in standard types only, so that the HTTP helper runs without Qt; the
// CurlHttpClient gives them the program's HttpClient interface.

struct CurlResponse {
    long status = 0;
    std::string headers;  // all header lines of the last response, as received
    std::string body;
};

// The response, or the English detail of why the transfer failed: what the helper sends as its
// error record and the program reads into a Failure, whose kind says it was the transfer.
using CurlAnswer = BasicResult<CurlResponse, std::string>;

// received and total bytes; total is 0 when the size is not known. Returns false to abandon the
// transfer.
using CurlProgress = std::function<bool(std::int64_t received, std::int64_t total)>;

// libcurl's global start, done by the first transfer; callable ahead of it.
void initialiseCurl();

// Both GETs are synchronous. Redirects are followed, up to five, to http and https only and never
// from https to http; the headers are those of the last response. A body larger than the cap
// (a page's or a download's) is abandoned.

// Whether a transfer of from may be redirected to to (absolute addresses).
bool mayRedirect(std::string_view from, std::string_view to);

// A page must arrive within the connect and page time-outs.
CurlAnswer curlGetPage(const std::string& url, const HttpLimits& limits);
// A download is given up when it stalls, not when it is slow.
CurlAnswer curlDownload(const std::string& url, const HttpLimits& limits,
                        const CurlProgress& progress);

}  // namespace velandri
