#pragma once

#include <QString>

namespace velandri {

// File queries and process-wide directory state that tests must be able to observe.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // True when a program exists at a designed path (mapped to the local program).
    virtual bool programExists(const QString& designedPath) = 0;
    virtual bool setCurrentDirectory(const QString& folder) = 0;
};

}  // namespace velandri
