#include "platform/linux/display_probe.h"

#include <sys/socket.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <optional>

#include "platform/linux/local_socket_address.h"

namespace velandri {

namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// A full connection, so that a display that refuses us (authorisation) counts as unreachable;
// empty when the display does not answer.
std::shared_ptr<void> connectToX(const std::string& display) {
    std::shared_ptr<xcb_connection_t> connection(xcb_connect(display.c_str(), nullptr),
                                                 xcb_disconnect);
    if (xcb_connection_has_error(connection.get()) != 0) return nullptr;
    return connection;
}

// WAYLAND_DISPLAY is a socket name in XDG_RUNTIME_DIR, or an absolute path.
std::string waylandSocketPath(const std::string& display) {
    if (display.starts_with('/')) return display;
    const std::string runtimeDir = variable("XDG_RUNTIME_DIR");
    return runtimeDir.empty() ? std::string() : runtimeDir + '/' + display;
}

bool unixSocketAnswers(const std::string& path) {
    const std::optional<sockaddr_un> address = localSocketAddress(path);
    if (!address) return false;
    const int socketFd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socketFd < 0) return false;
    const bool answers =
        connect(socketFd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0;
    close(socketFd);
    return answers;
}

std::string xProblem(const std::string& display) {
    if (display.empty()) return "DISPLAY is not set";
    return "the X display " + display + " does not answer";
}

std::string waylandProblem(const std::string& display) {
    if (display.empty()) return "WAYLAND_DISPLAY is not set";
    return "the Wayland display " + display + " does not answer";
}

}  // namespace

DisplayChoice chooseDisplayPlatform() {
    if (!variable("QT_QPA_PLATFORM").empty()) return {true, {}, nullptr};
    const std::string x = variable("DISPLAY");
    if (std::shared_ptr<void> connection = x.empty() ? nullptr : connectToX(x)) {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        return {true, {}, connection};
    }
    const std::string wayland = variable("WAYLAND_DISPLAY");
    if (!wayland.empty() && unixSocketAnswers(waylandSocketPath(wayland))) {
        setenv("QT_QPA_PLATFORM", "wayland", 1);
        return {true, {}, nullptr};
    }
    return {false, xProblem(x) + " and " + waylandProblem(wayland), nullptr};
}

}  // namespace velandri
