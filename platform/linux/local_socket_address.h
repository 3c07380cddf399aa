#pragma once

#include <sys/un.h>

#include <cstring>
#include <optional>
#include <string_view>

namespace velandri {

// The address of a local socket at path (file name bytes); nothing when the path is empty or
// too long for sun_path, which has room for a limited number of bytes and the final zero.
inline std::optional<sockaddr_un> localSocketAddress(std::string_view path) {
    sockaddr_un address{};
    if (path.empty() || path.size() >= sizeof address.sun_path) return std::nullopt;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    return address;
}

}  // namespace velandri
