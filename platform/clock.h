#pragma once

#include <QtGlobal>

namespace velandri {

// A monotonic millisecond count that does not wrap.
class Clock {
public:
    virtual ~Clock() = default;
    virtual qint64 milliseconds() = 0;
};

}  // namespace velandri
