#include "platform/linux/qt_window_system.h"

#include <private/qguiapplication_p.h>
#include <qpa/qplatforminputcontext.h>
#include <qpa/qplatformintegration.h>
#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <array>
#include <cstdlib>

namespace velandri {

namespace {

// WM_HINTS as the X11 conventions lay it out: flags, input, initial state, and six more fields.
constexpr uint32_t kStateHint = 1u << 1;
constexpr uint32_t kNormalState = 1;
constexpr int kHintFields = 9;
constexpr int kFlagsField = 0;
constexpr int kInitialStateField = 2;

std::array<uint32_t, kHintFields> wmHints(xcb_connection_t* connection, xcb_window_t window) {
    std::array<uint32_t, kHintFields> hints{};
    const xcb_get_property_cookie_t cookie = xcb_get_property(
        connection, 0, window, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, kHintFields);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    if (reply && reply->format == 32) {
        const auto* fields = static_cast<const uint32_t*>(xcb_get_property_value(reply));
        const int count = std::min(xcb_get_property_value_length(reply) / 4, kHintFields);
        std::copy(fields, fields + count, hints.begin());
    }
    std::free(reply);
    return hints;
}

}  // namespace

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

// Qt writes the initial state "iconic" into WM_HINTS when it minimizes a window and "normal"
// only when it restores one itself; a restore through the window manager leaves "iconic", so
// the next show would map the window minimized.
void QtWindowSystem::showNormalWhenShown(QWidget* window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!window || !x11 || !window->windowHandle()) return;
    xcb_connection_t* connection = x11->connection();
    const auto id = static_cast<xcb_window_t>(window->windowHandle()->winId());
    std::array<uint32_t, kHintFields> hints = wmHints(connection, id);
    hints[kFlagsField] |= kStateHint;
    hints[kInitialStateField] = kNormalState;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS,
                        32, kHintFields, hints.data());
    xcb_flush(connection);
}

}  // namespace velandri
