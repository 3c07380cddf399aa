#pragma once

#include <QSystemTrayIcon>
#include <memory>

#include "platform/tray.h"

namespace velandri {

class QtTrayIcon : public TrayIcon {
public:
    bool isAvailable() override;
    void add(const QIcon& icon, const QString& tip) override;
    void remove() override;
    void popUp(QMenu* menu) override;

private:
    void createIcon();
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    std::unique_ptr<QSystemTrayIcon> icon_;  // made on first use, once the application exists
};

}  // namespace velandri
