#include "platform/log.h"

Q_LOGGING_CATEGORY(velandriLog, "velandri", QtWarningMsg)
