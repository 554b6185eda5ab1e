#include "AccessibleNotice.h"

namespace accessnotice {

namespace {
Listener& CurrentListener() {
    static Listener listener;
    return listener;
}
}  // namespace

void Send(QAccessibleEvent* event) {
    if (const Listener& listener = CurrentListener())
        listener(event);
    QAccessible::updateAccessibility(event);
}

void SetListener(Listener listener) {
    CurrentListener() = std::move(listener);
}

}  // namespace accessnotice
