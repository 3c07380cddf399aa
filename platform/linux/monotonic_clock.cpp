#include "platform/linux/monotonic_clock.h"

namespace velandri {

MonotonicClock::MonotonicClock() { elapsed_.start(); }

qint64 MonotonicClock::milliseconds() { return elapsed_.elapsed(); }

}  // namespace velandri
