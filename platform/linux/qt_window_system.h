#pragma once

#include "platform/window_system.h"

namespace velandri {

class QtWindowSystem : public WindowSystem {
public:
    void setTopMost(QWidget* window, bool topMost) override;
    void typeThroughInputMethod(QWidget* focused, const QKeyEvent& key) override;
    void showNormalWhenShown(QWidget* window) override;
};

}  // namespace velandri
