#pragma once

#include <QString>
#include <QStringList>

namespace velandri {

// A program of the designed platform, named by its Windows path (or, for an automation object,
// its class name), and the Linux programs that stand in for it, best first. A candidate without
// a slash is looked up in PATH; one starting with "~/" lies in the user's home folder.
struct ProgramStandIn {
    QString designed;
    QStringList linuxCandidates;
};

// The programs the launcher starts besides the browsers (those are in browsers.h).
namespace DesignedProgram {

inline const QString explorer = QStringLiteral("EXPLORER.EXE");
// The updater an update unpacks into the data folder and starts from there.
inline const QString updater = QStringLiteral("Pelkamo.exe");

}  // namespace DesignedProgram

inline const ProgramStandIn kOtherStandIns[] = {
    {DesignedProgram::explorer, {QStringLiteral("xdg-open")}},
    {DesignedProgram::updater, {QStringLiteral("./") + DesignedProgram::updater}},
};

}  // namespace velandri
