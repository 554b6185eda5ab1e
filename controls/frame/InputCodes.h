#pragma once

#include <Qt>
#include <QtGlobal>

// The button and shift codes the frame's mouse and key events carry: left 1, right 2,
// middle 4; Shift 1, Ctrl 2, Alt 4.
namespace inputcodes {

inline qint16 buttonCode(Qt::MouseButtons buttons) {
    qint16 code = 0;
    if (buttons & Qt::LeftButton)
        code |= 1;
    if (buttons & Qt::RightButton)
        code |= 2;
    if (buttons & Qt::MiddleButton)
        code |= 4;
    return code;
}

inline qint16 shiftCode(Qt::KeyboardModifiers modifiers) {
    qint16 code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= 1;
    if (modifiers & Qt::ControlModifier)
        code |= 2;
    if (modifiers & Qt::AltModifier)
        code |= 4;
    return code;
}

}  // namespace inputcodes
