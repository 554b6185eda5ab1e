#pragma once

class ThemedButton;

// A two-state button shows its state through its icon: on, a 16-pixel icon with the caption
// to its right; off, no icon and the caption centred. The selected lock button looks "on".
// Assistive technology reads the button as checkable, checked when on.
void ApplyToggleLook(ThemedButton* button, bool on);
bool HasToggleLookOn(const ThemedButton* button);
