#include "platform/linux/http_helper_protocol.h"

#include <charconv>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace velandri {

namespace {

constexpr std::string_view kPage = "page";
constexpr std::string_view kDownload = "download";

std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> found;
    for (size_t end = text.find('\n'); end != std::string_view::npos; end = text.find('\n')) {
        found.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    found.push_back(text);
    return found;
}

// The limits in the order the request carries them, after the mode and the address; the one
// list both ends follow.
template <typename Limits>  // HttpLimits, const or not
auto limitFields(Limits& limits) {
    return std::tie(limits.connectTimeoutMs, limits.pageTimeoutMs, limits.lowSpeedBytesPerSecond,
                    limits.lowSpeedSeconds, limits.downloadTimeoutMs, limits.maxBodyBytes,
                    limits.maxPageBytes);
}

constexpr size_t kLimitFieldCount =
    std::tuple_size_v<decltype(limitFields(std::declval<HttpLimits&>()))>;

}  // namespace

std::optional<std::int64_t> parseCount(std::string_view text) {
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < 0) return std::nullopt;
    return value;
}

std::string requestText(const HelperRequest& request) {
    if (request.url.find('\n') != std::string::npos) return {};
    std::string text((request.mode == HelperMode::Download ? kDownload : kPage));
    text += '\n' + request.url + '\n';
    std::apply([&text](const auto&... field) { ((text += std::to_string(field) + '\n'), ...); },
               limitFields(request.limits));
    return text;
}

std::optional<HelperRequest> parseRequestText(std::string_view text) {
    if (!text.ends_with('\n')) return std::nullopt;
    text.remove_suffix(1);
    const std::vector<std::string_view> fields = lines(text);
    if (fields.size() != 2 + kLimitFieldCount) return std::nullopt;
    if (fields[0] != kPage && fields[0] != kDownload) return std::nullopt;
    HelperRequest request;
    request.mode = fields[0] == kDownload ? HelperMode::Download : HelperMode::Page;
    request.url = fields[1];
    size_t next = 2;
    const auto read = [&fields, &next](auto& field) {
        const std::optional<std::int64_t> value = parseCount(fields[next++]);
        if (value) field = std::remove_reference_t<decltype(field)>(*value);
        return value.has_value();
    };
    const bool readable = std::apply([&read](auto&... field) { return (read(field) && ...); },
                                     limitFields(request.limits));
    if (!readable) return std::nullopt;
    return request;
}

std::string progressRecord(std::int64_t received, std::int64_t total) {
    return "P " + std::to_string(received) + ' ' + std::to_string(total) + '\n';
}

std::string responseLine(long status, std::size_t headerBytes, std::size_t bodyBytes) {
    return "R " + std::to_string(status) + ' ' + std::to_string(headerBytes) + ' ' +
           std::to_string(bodyBytes) + '\n';
}

std::string errorLine(std::size_t textBytes) { return "E " + std::to_string(textBytes) + '\n'; }

}  // namespace velandri
