#include "Messages.h"

#include <QCoreApplication>
#include <QWidget>

namespace tessaro::hook {

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
