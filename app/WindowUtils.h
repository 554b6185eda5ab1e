#pragma once

#include <cstdint>

class QWidget;

// Two window helpers of the main window.
namespace WindowUtils {

// The edit style that admits digits only.
inline constexpr uint32_t ES_NUMBER = 0x2000;

// ORs `bits` into the style the window carries (kept in its "windowStyle" property) and gives
// a line edit the behaviour of the bits it has: ES_NUMBER admits digits only, also when pasting.
void AddWindowStyle(QWidget* window, uint32_t bits);
uint32_t WindowStyle(const QWidget* window);

// Keeps the window above the others, or not, on the native window it has: it neither moves
// nor hides. Nothing happens when the window already is as asked.
void SetTopMost(QWidget* window, bool flag);

}  // namespace WindowUtils
