#pragma once

#include <QString>

namespace velandri {

// The version check and the self-update as the main window's load calls them.
class Updater {
public:
    virtual ~Updater() = default;
    // Leaves the newest version text in latestVersion; unchanged on any failure.
    virtual void checkVersion(QString& latestVersion) = 0;
    // Offers, downloads and installs the update; returns only when it does not end the program.
    virtual void subUpdate() = 0;
};

}  // namespace velandri
