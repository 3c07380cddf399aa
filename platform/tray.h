#pragma once

#include <QString>
#include <functional>

class QIcon;
class QMenu;

// The notification-area icon of the main window.
class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    // False when the desktop has no notification area.
    virtual bool isAvailable() = 0;
    virtual void add(const QIcon& icon, const QString& tip) = 0;
    // Removing an icon that is not shown does nothing.
    virtual void remove() = 0;
    // Opens menu at the pointer.
    virtual void popUp(QMenu* menu) = 0;
    // Set by the main window: the left button released, the right button pressed on the icon.
    std::function<void()> onLeftRelease;
    std::function<void()> onRightPress;
};
