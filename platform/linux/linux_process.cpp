#include "platform/linux/linux_process.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "platform/linux/command_line.h"

namespace velandri {

namespace {

// The Linux program that stands in for the designed one, detached and without a shell, so that
// every argument reaches it as text.
bool startStandIn(const QString& designedProgram, const QStringList& arguments) {
    const QString program = mapProgram(designedProgram);
    return !program.isEmpty() && QProcess::startDetached(program, arguments);
}

}  // namespace

bool LinuxProcessStarter::start(const QString& commandLine, WindowStyle) {
    const DesignedCommand command = splitCommandLine(commandLine);
    return startStandIn(command.program, command.arguments);
}

namespace {

// The file itself, opened in its folder without following a link in its own name.
int openWithoutFollowing(const QString& programPath) {
    const QFileInfo info(programPath);
    const int folder =
        open(QFile::encodeName(info.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return -1;
    const int file = openat(folder, QFile::encodeName(info.fileName()).constData(),
                            O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    close(folder);
    return file;
}

}  // namespace

// A regular file of the user's with no second name: a link, or a hard link to a file elsewhere,
// would lend the permission to a file outside the folder.
bool LinuxProcessStarter::allowToRun(const QString& programPath) {
    const int file = openWithoutFollowing(programPath);
    if (file < 0) return false;
    struct stat status {};
    bool allowed = fstat(file, &status) == 0 && S_ISREG(status.st_mode) && status.st_nlink == 1 &&
                   status.st_uid == geteuid();
    if (allowed && !(status.st_mode & S_IXUSR))
        allowed = fchmod(file, (status.st_mode & 07777) | S_IXUSR) == 0;
    close(file);
    return allowed;
}

}  // namespace velandri
