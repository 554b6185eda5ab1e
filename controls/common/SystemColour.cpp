#include "SystemColour.h"

#include <QGuiApplication>
#include <QPalette>

namespace syscolour {

namespace {

std::optional<QColor> paletteColour(int index) {
    const QPalette p = QGuiApplication::palette();
    switch (index) {
        case 0:  // scroll bar
        case 4:  // menu
        case kWindow:
            return index == kWindow ? p.color(QPalette::Base) : p.color(QPalette::Button);
        case 1:  // desktop
        case 2:  // active caption
        case 27:  // gradient active caption
            return p.color(QPalette::Highlight);
        case 3:  // inactive caption
        case 28:  // gradient inactive caption
            return p.color(QPalette::Mid);
        case 6:  // window frame
            return p.color(QPalette::Shadow);
        case 7:  // menu text
        case 8:  // window text
            return p.color(QPalette::WindowText);
        case 9:  // caption text
        case 14:  // highlight text
            return p.color(QPalette::HighlightedText);
        case 10:  // active border
        case 11:  // inactive border
        case 12:  // application workspace
            return p.color(QPalette::Window);
        case kHighlight:
            return p.color(QPalette::Highlight);
        case kButtonFace:
            return p.color(QPalette::Button);
        case kButtonShadow:
            return p.color(QPalette::Dark);
        case kGrayText:
            return p.color(QPalette::Disabled, QPalette::Text);
        case kButtonText:
            return p.color(QPalette::ButtonText);
        case 19:  // inactive caption text
            return p.color(QPalette::Disabled, QPalette::WindowText);
        case kButtonHighlight:
            return p.color(QPalette::Light);
        case 21:  // 3D dark shadow
            return p.color(QPalette::Shadow);
        case 22:  // 3D light
            return p.color(QPalette::Midlight);
        case kInfoText:
            return p.color(QPalette::ToolTipText);
        case kInfoBackground:
            return p.color(QPalette::ToolTipBase);
        case 26:  // hot-tracked item
            return p.color(QPalette::Link);
        case 29:  // menu highlight
            return p.color(QPalette::Highlight);
        case 30:  // menu bar
            return p.color(QPalette::Window);
        default:
            return std::nullopt;
    }
}

}  // namespace

QColor toQColor(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

uint32_t fromQColor(const QColor& c) { return rgb(c.red(), c.green(), c.blue()); }

std::optional<uint32_t> systemColour(int index) {
    const auto c = paletteColour(index);
    if (!c) return std::nullopt;
    return fromQColor(*c);
}

std::optional<uint32_t> translate(uint32_t colour) {
    if (colour & kSystemFlag) {
        if (colour & 0x7FFFFF00u) return std::nullopt;
        return systemColour(static_cast<int>(colour & 0xFF));
    }
    // A colour reference may carry a palette selector in its top byte; that byte is dropped.
    if ((colour >> 24) > 2) return std::nullopt;
    return colour & 0x00FFFFFFu;
}

}  // namespace syscolour
