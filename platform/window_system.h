#pragma once

class QWidget;

namespace velandri {

class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // Keeps the window above all others or not, without moving, resizing or hiding it.
    virtual void setTopMost(QWidget* window, bool topMost) = 0;
};

}  // namespace velandri
