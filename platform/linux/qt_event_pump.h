#pragma once

#include "platform/event_pump.h"

namespace velandri {

class QtEventPump : public EventPump {
public:
    void processPending() override;
    void waitForEvents(int maxMs) override;
};

}  // namespace velandri
