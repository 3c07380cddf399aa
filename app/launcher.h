#pragma once

#include <QString>

namespace velandri {

// Opens a URL in the browser chosen in the settings.
class Launcher {
public:
    virtual ~Launcher() = default;
    virtual void openInBrowser(const QString& url) = 0;
};

}  // namespace velandri
