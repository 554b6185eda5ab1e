#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>

// The main window's saved place: the top-left corner of its outer frame (title bar included),
// in twips, both when it is saved and when it is restored.
namespace windowposition {

inline constexpr int kTwipsPerPixel = 15;

// Pixels to twips; a position beyond 32 bits of twips raises the overflow error.
int32_t ToTwips(int pixels);
// Twips to pixels, halves to the even neighbour.
int ToPixels(int32_t twips);

// Where a frame of `frameSize` saved at `framePosition` goes. It stays where it was while a
// strip of its title bar at least `kGrip` pixels wide lies whole on one of `screens`;
// otherwise it is brought inside `primary` (the primary screen's free area).
inline constexpr int kTitleBar = 20;
inline constexpr int kGrip = 64;
QPoint OnScreen(QPoint framePosition, QSize frameSize, const QList<QRect>& screens,
                const QRect& primary);

// The frame position that centres a frame of `frameSize` on `area`.
QPoint Centred(QSize frameSize, const QRect& area);

}  // namespace windowposition
