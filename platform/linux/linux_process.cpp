#include "platform/linux/linux_process.h"

#include <sys/stat.h>

#include <QFile>
#include <QProcess>

#include "platform/linux/command_line.h"

namespace velandri {

bool startStandIn(const QString& designedProgram, const QStringList& arguments) {
    const QString program = mapProgram(designedProgram);
    return !program.isEmpty() && QProcess::startDetached(program, arguments);
}

bool LinuxProcessStarter::start(const QString& commandLine, WindowStyle) {
    const DesignedCommand command = splitCommandLine(commandLine);
    return startStandIn(command.program, command.arguments);
}

bool LinuxProcessStarter::allowToRun(const QString& programPath) {
    const QByteArray path = QFile::encodeName(programPath);
    struct stat status {};
    if (stat(path.constData(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    if (status.st_mode & S_IXUSR) return true;
    return chmod(path.constData(), (status.st_mode & 07777) | S_IXUSR) == 0;
}

}  // namespace velandri
