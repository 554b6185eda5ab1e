#pragma once

class QWidget;

// Serves the event queue in a nested loop until `panel` is hidden or destroyed; returns at
// once when it is hidden already. The window stays responsive meanwhile and other handlers
// run inside the wait.
void WaitWhileShown(QWidget* panel);
