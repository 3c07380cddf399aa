#pragma once

#include <QLoggingCategory>

namespace velandri {

// The program's one logging category, "velandri". Failures the program goes on from are logged
// at info level, which is off unless QT_LOGGING_RULES="velandri.info=true" turns it on: each is
// already shown to the user or left out by design, so standard error stays quiet by default.
Q_DECLARE_LOGGING_CATEGORY(velandriLog)

}  // namespace velandri
