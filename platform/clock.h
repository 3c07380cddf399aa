#pragma once

#include <QtGlobal>

// A monotonic millisecond count that does not wrap.
class Clock {
public:
    virtual ~Clock() = default;
    virtual qint64 milliseconds() = 0;
};
