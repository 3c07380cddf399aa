#pragma once

#include <memory>

#include "platform/paths.h"
#include "platform/platform.h"

namespace velandri {

// The real platform on a Linux desktop.
class LinuxPlatform {
public:
    LinuxPlatform();
    ~LinuxPlatform();
    LinuxPlatform(const LinuxPlatform&) = delete;
    LinuxPlatform& operator=(const LinuxPlatform&) = delete;

    Platform platform();

    // $XDG_DATA_HOME/Velandri (default ~/.local/share/Velandri) and the executable's folder.
    static DataPaths dataPaths();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace velandri
