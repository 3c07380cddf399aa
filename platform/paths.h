#pragma once

#include <QString>

namespace velandri {

// Where the data file and the program's own files live.
struct DataPaths {
    QString dataFolder;     // per-user folder, created by the first save
    QString programFolder;  // folder of the executable: read-only fallbacks
};

}  // namespace velandri
