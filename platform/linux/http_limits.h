#pragma once

#include <cstdint>

namespace velandri {

// An HTTP client's bounds. A page must come quickly; an archive over a slow line may take long, so
// its download is bounded by a low-speed rule (fewer than lowSpeedBytesPerSecond for
// lowSpeedSeconds in a row) and a generous total instead.
struct HttpLimits {
    long connectTimeoutMs = 3'000;
    long pageTimeoutMs = 10'000;
    long lowSpeedBytesPerSecond = 1'024;
    long lowSpeedSeconds = 15;
    long downloadTimeoutMs = 30 * 60 * 1'000;
    std::int64_t maxBodyBytes = std::int64_t(64) * 1024 * 1024;  // a download
    std::int64_t maxPageBytes = std::int64_t(1) * 1024 * 1024;   // a page
};

}  // namespace velandri
