#pragma once

#include "platform/event_pump.h"

class QtEventPump : public EventPump {
public:
    void processPending() override;
    void waitForEvents(int maxMs) override;
};
