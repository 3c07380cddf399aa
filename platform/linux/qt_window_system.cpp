#include "platform/linux/qt_window_system.h"

#include <QWidget>
#include <QWindow>

namespace velandri {

// QWidget::setWindowFlag re-creates a shown window hidden, so a shown window gets the hint on
// its native window only; a hidden one keeps its widget flags in step for the next show.
void QtWindowSystem::setTopMost(QWidget* window, bool topMost) {
    if (!window) return;
    if (!window->isVisible()) window->setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
    if (QWindow* handle = window->windowHandle())
        handle->setFlag(Qt::WindowStaysOnTopHint, topMost);
}

}  // namespace velandri
