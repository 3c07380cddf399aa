#pragma once

#include "platform/file_system.h"

class LinuxFileSystem : public FileSystem {
public:
    bool programExists(const QString& designedPath) override;
    bool setCurrentDirectory(const QString& folder) override;
};
