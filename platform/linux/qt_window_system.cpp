#include "platform/linux/qt_window_system.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>
#include <private/qguiapplication_p.h>
#include <qpa/qplatforminputcontext.h>
#include <qpa/qplatformintegration.h>

namespace velandri {

// QWidget::setWindowFlag re-creates a shown window hidden, so a shown window gets the hint on
// its native window only; a hidden one keeps its widget flags in step for the next show.
void QtWindowSystem::setTopMost(QWidget* window, bool topMost) {
    if (!window) return;
    if (!window->isVisible()) window->setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
    if (QWindow* handle = window->windowHandle())
        handle->setFlag(Qt::WindowStaysOnTopHint, topMost);
}

// Qt hands a key to the input method only where it arrives from the window system, and only
// when the widget with the focus takes input methods; a key taken from another widget is handed
// over here in the same way.
void QtWindowSystem::typeThroughInputMethod(QWidget* focused, const QKeyEvent& key) {
    QKeyEvent again(key.type(), key.key(), key.modifiers(), key.nativeScanCode(),
                    key.nativeVirtualKey(), key.nativeModifiers(), key.text(), key.isAutoRepeat(),
                    key.count());
    again.setTimestamp(key.timestamp());
    QPlatformInputContext* inputMethod =
        QGuiApplicationPrivate::platformIntegration()->inputContext();
    if (inputMethod && inputMethod->filterEvent(&again)) return;
    QCoreApplication::sendEvent(focused, &again);
}

}  // namespace velandri
