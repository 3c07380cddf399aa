#include "app/logic/logoff_clock.h"

#include <algorithm>

namespace velandri {

int16_t boundedLogoffMinutes(int16_t minutes) {
    return std::clamp<int16_t>(minutes, 0, kLongestLogoffMinutes);
}

bool logoffTick(int& logoffTicks, int16_t logoffMinutes) {
    const int minutes = boundedLogoffMinutes(logoffMinutes);
    if (minutes == 0) return false;
    ++logoffTicks;
    if (logoffTicks <= minutes * kTicksPerMinute) return false;
    logoffTicks = 0;
    return true;
}

int16_t minutesFromText(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? static_cast<int16_t>(std::clamp(value, 0, 99)) : 0;
}

}  // namespace velandri
