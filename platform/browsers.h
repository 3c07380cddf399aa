#pragma once

#include <QString>
#include <type_traits>
#include <vector>

#include "platform/designed_programs.h"

namespace velandri {

// How a browser is reached on the designed platform.
enum class BrowserReach {
    // Through the automation object named by its one program's class name. Its Linux stand-in
    // starts that name as a program, mapped to the candidates.
    Automation,
    // By the command line of its one program, started without a test.
    FixedPath,
    // By the command line of the first of its programs that is installed; none, nothing starts.
    FirstInstalled,
};

// A path holds this where the login name goes (a per-user installation).
inline const QString kUserNameMarker = QStringLiteral("<name>");

struct Browser {
    // The settings window's option, and the name in the notice of a failed start.
    QString caption;
    BrowserReach reach;
    std::vector<ProgramStandIn> programs;
};

// The browsers by their code, the index stored in `browser`. Adding a browser is adding a row.
inline const Browser kBrowsers[] = {
    {QStringLiteral("Internet Explorer"),
     BrowserReach::Automation,
     {{QStringLiteral("InternetExplorer.Application"), {QStringLiteral("xdg-open")}}}},
    {QStringLiteral("Firefox"),
     BrowserReach::FixedPath,
     {{QStringLiteral(R"(C:\Program Files\Mozilla Firefox\firefox.exe)"),
       {QStringLiteral("firefox"), QStringLiteral("firefox-esr")}}}},
    // Safari's engine is WebKit; the WebKit browser of Linux desktops stands in.
    {QStringLiteral("Safari"),
     BrowserReach::FixedPath,
     {{QStringLiteral(R"(C:\Program Files\Safari\Safari.exe)"),
       {QStringLiteral("epiphany-browser"), QStringLiteral("epiphany")}}}},
    {QStringLiteral("Opera"),
     BrowserReach::FixedPath,
     {{QStringLiteral(R"(C:\Program Files\Opera\opera.exe)"), {QStringLiteral("opera")}}}},
    // The per-user installation wins over the shared one.
    {QStringLiteral("Google Chrome"),
     BrowserReach::FirstInstalled,
     {{QStringLiteral(R"(C:\Users\<name>\AppData\Local\Google\Chrome\Application\chrome.exe)"),
       {QStringLiteral("~/.local/bin/google-chrome"), QStringLiteral("~/.local/bin/chromium")}},
      {QStringLiteral(R"(C:\Program Files\Google\Chrome\Application\chrome.exe)"),
       {QStringLiteral("google-chrome"), QStringLiteral("google-chrome-stable"),
        QStringLiteral("chromium"), QStringLiteral("chromium-browser")}}}},
};

constexpr int kBrowserCount = std::extent_v<decltype(kBrowsers)>;

// Null for a code outside the table: such a browser opens nothing.
inline const Browser* browserByCode(int code) {
    return code >= 0 && code < kBrowserCount ? &kBrowsers[code] : nullptr;
}

// The program's path for the given login name.
inline QString designedPath(const ProgramStandIn& program, const QString& userName) {
    return QString(program.designed).replace(kUserNameMarker, userName);
}

}  // namespace velandri
