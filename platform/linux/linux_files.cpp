#include "platform/linux/linux_files.h"

#include <QDir>

#include "platform/linux/command_line.h"

namespace velandri {

bool LinuxFileSystem::programExists(const QString& designedPath) {
    return !mapProgram(designedPath).isEmpty();
}

bool LinuxFileSystem::setCurrentDirectory(const QString& folder) {
    return QDir::setCurrent(folder);
}

}  // namespace velandri
