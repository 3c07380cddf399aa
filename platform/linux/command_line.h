#pragma once

#include <QString>
#include <QStringList>

namespace velandri {

// A command line of the designed platform, taken apart.
struct DesignedCommand {
    QString program;
    QStringList arguments;
};

// Splits a command line as the designed platform does: the program runs up to the first ".exe"
// (any case) that a blank or the end follows, else up to the first blank; a program in double
// quotes ends at the closing quote. The rest is split into arguments at blanks, honouring
// double quotes and the backslashes before them.
DesignedCommand splitCommandLine(const QString& commandLine);

// The argument in double quotes, with its quotes and the backslashes before them escaped, so
// that splitCommandLine gives it back as one argument, unchanged.
QString quotedArgument(const QString& argument);

// The Linux programs that stand in for a designed program, best first: names without a slash are
// looked up in PATH, per-user installations lie under homeFolder. Empty when nothing can stand in.
QStringList linuxCandidates(const QString& designedProgram, const QString& homeFolder);

// The absolute path of the first candidate that exists and is executable, or empty.
QString locateProgram(const QStringList& candidates);

// locateProgram(linuxCandidates(designedProgram, the user's home folder)).
QString mapProgram(const QString& designedProgram);

}  // namespace velandri
