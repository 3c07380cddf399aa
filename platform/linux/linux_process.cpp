#include "platform/linux/linux_process.h"

#include <QProcess>

#include "platform/linux/command_line.h"

bool startStandIn(const QString& designedProgram, const QStringList& arguments) {
    const QString program = mapProgram(designedProgram);
    return !program.isEmpty() && QProcess::startDetached(program, arguments);
}

bool LinuxProcessStarter::start(const QString& commandLine, WindowStyle) {
    const DesignedCommand command = splitCommandLine(commandLine);
    return startStandIn(command.program, command.arguments);
}
