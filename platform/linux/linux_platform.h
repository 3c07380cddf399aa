#pragma once

#include <memory>

#include "platform/paths.h"
#include "platform/platform.h"

namespace velandri {

// The real platform on a Linux desktop.
class LinuxPlatform {
public:
    // updatePublicKey: the base64 line of the maker's minisign.pub; empty, no update is ever
    // installed.
    explicit LinuxPlatform(QByteArray updatePublicKey = {});
    ~LinuxPlatform();
    LinuxPlatform(const LinuxPlatform&) = delete;
    LinuxPlatform& operator=(const LinuxPlatform&) = delete;

    Platform platform();
    // Starts the helper of the next HTTP request now, so that it loads on another core while
    // the caller goes on; it is sent nothing before that request.
    void startHttpHelperAhead();

    // $XDG_DATA_HOME/Velandri (default ~/.local/share/Velandri) and the executable's folder.
    static DataPaths dataPaths();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace velandri
