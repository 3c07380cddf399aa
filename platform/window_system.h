#pragma once

class QKeyEvent;
class QWidget;

namespace velandri {

class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // Keeps the window above all others or not, without moving, resizing or hiding it.
    virtual void setTopMost(QWidget* window, bool topMost) = 0;
    // Delivers a key press to the widget with the focus as the keyboard does: through the input
    // method, which may compose with it, or as the plain key.
    virtual void typeThroughInputMethod(QWidget* focused, const QKeyEvent& key) = 0;
    // The hidden window is mapped normal when next shown, though the program minimized it
    // before: the user has restored it through the window manager since.
    virtual void showNormalWhenShown(QWidget* window) = 0;
};

}  // namespace velandri
