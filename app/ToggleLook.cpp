#include "ToggleLook.h"

#include "ThemedButton.h"

namespace {
constexpr int16_t kIconShown = 16;
constexpr int32_t kCaptionRightOfIcon = 2;
constexpr int32_t kCaptionCentred = 0;
}  // namespace

void ApplyToggleLook(ThemedButton* button, bool on) {
    button->SetIconSize(on ? kIconShown : 0);
    button->SetCaptionAlign(on ? kCaptionRightOfIcon : kCaptionCentred);
}

bool HasToggleLookOn(const ThemedButton* button) {
    return button->IconSize() == kIconShown && button->CaptionAlign() == kCaptionRightOfIcon;
}
