#include "platform/log.h"

namespace velandri {

Q_LOGGING_CATEGORY(velandriLog, "velandri", QtWarningMsg)

}  // namespace velandri
