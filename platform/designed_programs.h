#pragma once

#include <QString>

namespace velandri {

// The programs the launcher starts, named by the Windows paths it was designed with. The
// browser launch and the main window write them into command lines; the Linux process
// starter maps each one to a program found here.
namespace DesignedProgram {

inline const QString firefox = QStringLiteral(R"(C:\Program Files\Mozilla Firefox\firefox.exe)");
inline const QString safari = QStringLiteral(R"(C:\Program Files\Safari\Safari.exe)");
inline const QString opera = QStringLiteral(R"(C:\Program Files\Opera\opera.exe)");
inline const QString sharedChrome =
    QStringLiteral(R"(C:\Program Files\Google\Chrome\Application\chrome.exe)");
// A Chrome installed for one user lies at usersFolder + login name + perUserChromeTail.
inline const QString usersFolder = QStringLiteral(R"(C:\Users\)");
inline const QString perUserChromeTail =
    QStringLiteral(R"(\AppData\Local\Google\Chrome\Application\chrome.exe)");
inline const QString explorer = QStringLiteral("EXPLORER.EXE");
// The updater an update unpacks into the data folder and starts from there.
inline const QString updater = QStringLiteral("Pelkamo.exe");

}  // namespace DesignedProgram

}  // namespace velandri
