#pragma once

#include "platform/window_system.h"

class QtWindowSystem : public WindowSystem {
public:
    void setTopMost(QWidget* window, bool topMost) override;
};
