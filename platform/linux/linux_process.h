#pragma once

#include "platform/process.h"

namespace velandri {

class LinuxProcessStarter : public ProcessStarter {
public:
    // The window style is left to the started program: a Linux launch cannot impose one.
    bool start(const QString& commandLine, WindowStyle style) override;
    // Adds the owner's execute permission and changes nothing else; only to a regular file of
    // the user's with one name, opened in its folder without following a link.
    bool allowToRun(const QString& programPath) override;
};

}  // namespace velandri
