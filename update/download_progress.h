#pragma once

#include <QtGlobal>

namespace velandri {

// Shown while the update archive downloads, since the program cannot be used meanwhile.
class DownloadProgress {
public:
    virtual ~DownloadProgress() = default;
    virtual void begin() = 0;
    // total is 0 when the size is not known. False once the user has asked to stop the download.
    virtual bool progress(qint64 received, qint64 total) = 0;
    virtual void end() = 0;
};

}  // namespace velandri
