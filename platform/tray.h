#pragma once

#include <QObject>
#include <QString>

class QIcon;
class QMenu;

namespace velandri {

// The notification-area icon of the main window. Clicks on it are reported as signals, so
// whoever listens is disconnected when it goes away.
class TrayIcon : public QObject {
    Q_OBJECT

public:
    ~TrayIcon() override;
    // False when the desktop has no notification area.
    virtual bool isAvailable() = 0;
    virtual void add(const QIcon& icon, const QString& tip) = 0;
    // Removing an icon that is not shown does nothing.
    virtual void remove() = 0;
    // Opens menu at the pointer.
    virtual void popUp(QMenu* menu) = 0;

signals:
    void leftReleased();
    void rightPressed();
};

}  // namespace velandri
