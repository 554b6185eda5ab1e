#include "ToggleLook.h"

#include "ThemedButton.h"
#include "ThemedButtonAccessible.h"

namespace {
constexpr int16_t kIconShown = 16;
constexpr int32_t kCaptionRightOfIcon = 2;
constexpr int32_t kCaptionCentred = 0;
}  // namespace

void ApplyToggleLook(ThemedButton* button, bool on) {
    button->SetIconSize(on ? kIconShown : 0);
    button->SetCaptionAlign(on ? kCaptionRightOfIcon : kCaptionCentred);
    // The icon is all a sighted user gets; a screen reader gets the state itself.
    SetAccessibleChecked(button, on);
}

bool HasToggleLookOn(const ThemedButton* button) {
    return button->IconSize() == kIconShown && button->CaptionAlign() == kCaptionRightOfIcon;
}
