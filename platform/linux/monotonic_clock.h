#pragma once

#include <QElapsedTimer>

#include "platform/clock.h"

namespace velandri {

// Milliseconds since the clock was made, from the system's monotonic clock.
class MonotonicClock : public Clock {
public:
    MonotonicClock();
    qint64 milliseconds() override;

private:
    QElapsedTimer elapsed_;
};

}  // namespace velandri
