#pragma once

#include "platform/file_system.h"

namespace velandri {

class LinuxFileSystem : public FileSystem {
public:
    bool programExists(const QString& designedPath) override;
    bool setCurrentDirectory(const QString& folder) override;
};

}  // namespace velandri
