#pragma once

#include <QString>
#include <cstdint>

#include "store/url_store.h"

namespace velandri {

constexpr int kLogoffTimerMs = 10000;  // one tick of the log-off timer
constexpr int kTicksPerMinute = 60000 / kLogoffTimerMs;

// The minutes as the log-off timer uses them: a value from a damaged file or a box outside
// 0..60 is bounded, so a negative value cannot make every tick a log-off.
int16_t boundedLogoffMinutes(int16_t minutes);

// One tick of the log-off timer. True when the log-off is due; the counter is then reset.
// With 0 minutes the counter does not move.
bool logoffTick(int& logoffTicks, int16_t logoffMinutes);

// The minutes box read as a number: digits only, an empty box reads as 0.
int16_t minutesFromText(const QString& text);

}  // namespace velandri
