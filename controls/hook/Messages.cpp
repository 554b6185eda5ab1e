#include "Messages.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

namespace tessaro::hook {

int32_t mouseKeyBits(const QMouseEvent& e) {
    int32_t bits = 0;
    if (e.buttons() & Qt::LeftButton)
        bits |= MK_LBUTTON;
    if (e.buttons() & Qt::RightButton)
        bits |= MK_RBUTTON;
    if (e.buttons() & Qt::MiddleButton)
        bits |= MK_MBUTTON;
    if (e.modifiers() & Qt::ShiftModifier)
        bits |= MK_SHIFT;
    if (e.modifiers() & Qt::ControlModifier)
        bits |= MK_CONTROL;
    return bits;
}

QEvent::Type SyntheticMessageEvent::eventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

int32_t sendMessage(QWidget* window, int32_t message, int32_t wParam, int32_t lParam) {
    if (!window)
        return 0;
    SyntheticMessageEvent event(message, wParam, lParam);
    const bool delivered = QCoreApplication::sendEvent(window, &event);
    if (event.dispatchedByHook())
        return event.result();
    return delivered ? 1 : 0;
}

bool postMessage(QWidget* window, int32_t message, int32_t wParam, int32_t lParam) {
    if (!window)
        return false;
    QCoreApplication::postEvent(window, new SyntheticMessageEvent(message, wParam, lParam));
    return true;
}

}  // namespace tessaro::hook
