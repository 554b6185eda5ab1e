#pragma once

#include <QAccessibleEvent>
#include <functional>

// Tells assistive technology that something changed. Qt hands the event to the platform's
// bridge (AT-SPI on the desktop) and drops it where there is none, as on the offscreen
// platform; a listener put in place here hears every event either way.
namespace accessnotice {

using Listener = std::function<void(QAccessibleEvent* event)>;

void Send(QAccessibleEvent* event);
// An empty listener stops listening.
void SetListener(Listener listener);

}  // namespace accessnotice
