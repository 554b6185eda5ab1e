#pragma once

#include <QRegion>

// The window shapes of the button styles, for a client of W by H whole pixels.
namespace tessaro::button {

// The rectangle (0, 0, W, H).
QRegion rectangleRegion(int W, int H);
// The polygon (0, 1), (1, 0), (W-1, 0), (W, 1), (W, H-2), (W-2, H), (2, H), (0, H-2), filled
// even-odd: one pixel off every corner.
QRegion octagonRegionA(int W, int H);
// The polygon (0, 2), (2, 0), (W-3, 0), (W, 3), (W, H-3), (W-3, H), (4, H), (0, H-4), filled
// even-odd.
QRegion octagonRegionB(int W, int H);
// The rounded rectangle from (0, 0) to (W+1, H+1) with corner ellipses of 18 by 18. A rounded
// region leaves out one more column and row at the right and bottom than a plain rectangle,
// so it covers exactly the client, with quarter circles of radius 9 cut from the corners.
QRegion roundedRegion(int W, int H);
// How far row y of the rounded region starts from the left edge (and ends before the right).
int roundedRowInset(int y, int H);

}  // namespace tessaro::button
