#pragma once

namespace velandri {

// Lets window events run in the middle of a handler.
class EventPump {
public:
    virtual ~EventPump() = default;
    // Runs the events that are pending now and returns.
    virtual void processPending() = 0;
    // Runs events as they come for at most maxMs milliseconds, sleeping between them.
    virtual void waitForEvents(int maxMs) = 0;
};

}  // namespace velandri
