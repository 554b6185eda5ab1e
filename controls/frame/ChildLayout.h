#pragma once

#include <QList>
#include <QString>
#include <cstdint>

class QWidget;

// The frame's size (twips) at the end of the previous layout pass.
struct LayoutReference {
    int32_t width = 0;
    int32_t height = 0;
};

namespace childlayout {

inline constexpr double kTwipsPerPixel = 15.0;

// The two rule letters of a child's tag text ("~" third from the end), or false.
bool layoutTag(const QString& tag, QChar& horizontal, QChar& vertical);

// One layout pass over `children` for a frame now `widthTwips` x `heightTwips`:
// "L"/"T" move a child by the size change, "R"/"B" stretch it, "+" scales it by new size /
// reference size. Changes are converted from twips to the children's pixels. Every step is
// guarded: a step that fails for a child (no usable value, a value the child refuses, a zero
// reference size) is skipped. Line shapes and children without a valid tag are left alone.
// The reference then becomes the current size.
void layoutPass(const QList<QWidget*>& children, double widthTwips, double heightTwips,
                LayoutReference& reference);

}  // namespace childlayout
