#include "platform/linux/qt_tray_icon.h"

#include <QCursor>
#include <QMenu>

namespace velandri {

bool QtTrayIcon::isAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void QtTrayIcon::add(const QIcon& icon, const QString& tip) {
    if (!icon_) createIcon();
    icon_->setIcon(icon);
    icon_->setToolTip(tip);
    icon_->show();
}

void QtTrayIcon::remove() {
    if (icon_) icon_->hide();
}

void QtTrayIcon::popUp(QMenu* menu) {
    if (menu) menu->popup(QCursor::pos());
}

void QtTrayIcon::createIcon() {
    icon_ = std::make_unique<QSystemTrayIcon>();
    QObject::connect(icon_.get(), &QSystemTrayIcon::activated,
                     [this](QSystemTrayIcon::ActivationReason reason) { onActivated(reason); });
}

void QtTrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger) emit leftReleased();
    if (reason == QSystemTrayIcon::Context) emit rightPressed();
}

}  // namespace velandri
